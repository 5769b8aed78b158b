#pragma once

#include <string>
#include <vector>

#include "core/settings/ExternalPrograms.h"

namespace tessaly::test {

// Records what the program asks of the desktop instead of doing it.
class RecordingShell final : public ShellServices {
public:
    void OpenDocument(std::string_view address) override { calls.push_back("open " + std::string(address)); }
    bool DdeOpenUrl(std::string_view service, std::string_view, std::string_view url) override
    {
        calls.push_back("dde " + std::string(service) + " " + std::string(url));
        return ddeAnswers;
    }
    void StartProgram(std::string_view program, const std::vector<std::string>& arguments) override
    {
        std::string call = "start " + std::string(program);
        for (const std::string& argument : arguments) {
            call += " " + argument;
        }
        calls.push_back(call);
    }

    bool HasMailProgram() override { return hasMailProgram; }

    bool ddeAnswers = false;
    bool hasMailProgram = true;
    std::vector<std::string> calls;
};

} // namespace tessaly::test
