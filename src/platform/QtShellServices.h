#pragma once

#include "core/settings/ExternalPrograms.h"

namespace tessaly {

// The desktop's services: xdg-open for addresses, detached processes for
// programs. There is no DDE here, so a DDE request never finds a partner.
class QtShellServices final : public ShellServices {
public:
    void OpenDocument(std::string_view address) override;
    bool DdeOpenUrl(std::string_view service, std::string_view topic, std::string_view url) override;
    void StartProgram(std::string_view program, const std::vector<std::string>& arguments) override;
    // Asks xdg-mime for the desktop's handler of "mailto:".
    bool HasMailProgram() override;
};

} // namespace tessaly
