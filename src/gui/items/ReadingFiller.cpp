#include "gui/items/ReadingFiller.h"

#include <QLineEdit>

#include "gui/GuiText.h"
#include "core/reading/ReadingService.h"

namespace tessaly {

ReadingFiller::ReadingFiller(QLineEdit* source, QLineEdit* reading, QObject* parent)
    : QObject(parent)
    , source_(source)
    , reading_(reading)
{
    // Only the user's own edits make the reading his.
    connect(reading_, &QLineEdit::textEdited, this, [this] {
        suggested_ = false;
        Mark(false);
    });
}

ReadingFiller::Outcome ReadingFiller::Fill(const ReadingService* readings)
{
    if (readings == nullptr) {
        return Outcome::Unavailable;
    }
    if (!reading_->text().isEmpty() && !suggested_) {
        return Outcome::Typed;
    }
    const ReadingSuggestion suggestion = readings->Suggest(ToSjisOrEmpty(source_->text().trimmed()));
    if (suggestion.reading.empty()) {
        return Outcome::NothingRead;
    }
    reading_->setText(ToQString(suggestion.reading));
    reading_->selectAll();
    suggested_ = true;
    Mark(!suggestion.Certain());
    if (!suggestion.complete) {
        return Outcome::Partial;
    }
    return suggestion.uncertain ? Outcome::Uncertain : Outcome::Complete;
}

void ReadingFiller::Suggest(const QString& reading)
{
    reading_->setText(reading);
    suggested_ = true;
    Mark(false);
}

void ReadingFiller::Mark(bool doubtful)
{
    reading_->setStyleSheet(doubtful ? QStringLiteral("QLineEdit { background: #fff1b8; }") : QString());
}

} // namespace tessaly
