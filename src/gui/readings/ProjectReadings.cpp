#include "gui/readings/ProjectReadings.h"

#include "core/collection/LinkItem.h"
#include "core/text/Codepage.h"
#include "core/text/Strings.h"
#include "core/util/Messages.h"
#include "gui/GuiText.h"
#include "gui/host/MainServices.h"

namespace tessaly {

ProjectReadings::ProjectReadings(MainServices& services, const Project& project)
    : services_(services)
{
    if (services.readings == nullptr) {
        return;
    }
    known_.AddCollection(project);
    if (!services.readingsDictionary.empty()) {
        known_.AddUserDictionary(services.readingsDictionary);
    }
    service_.emplace(*services.readings, known_);
}

void ProjectReadings::Learn(std::string_view text, std::string_view reading)
{
    text = Trim(text);
    if (!service_ || services_.readingsDictionary.empty() || text.empty() || reading.empty()
        || service_->Suggest(text).reading == reading) {
        return;
    }
    known_.Add(text, reading);
    std::string error;
    if (!LearnReading(services_.readingsDictionary, text, reading, error) && !failureShown_) {
        failureShown_ = true;
        services_.messages.Show(MessageKind::Warning,
            SjisText(SJ("読みの辞書に書き込めませんでした. 直した読みは次から推測に使われません.\r\n")
                + ToSjisOrEmpty(QString::fromStdString(error))),
            MessageButton::Ok);
    }
}

void ProjectReadings::LearnItem(const TLinkItem& item)
{
    Learn(item.Title, item.TitleKana);
    Learn(item.Author, item.AuthorKana);
}

} // namespace tessaly
