#pragma once

// Fills a reading field from the text of its field (title or author) with
// the suggested reading, selected so that typing replaces it. A reading the
// user typed is never replaced; an earlier suggestion is.

#include <QObject>

class QLineEdit;

namespace tessaly {

class ReadingService;

class ReadingFiller final : public QObject {
    Q_OBJECT

public:
    ReadingFiller(QLineEdit* source, QLineEdit* reading, QObject* parent);

    enum class Outcome {
        Complete, // every letter of the text was read
        Uncertain, // read, but partly guessed; the field is marked
        Partial, // letters or digits could not be read; the field is marked
        NothingRead, // the text gives no reading; the field is left alone
        Typed, // the user's own reading stays
        Unavailable, // no reading service
    };

    // Suggests the reading of the source's text into the reading field
    // when that is empty or still holds an earlier suggestion.
    Outcome Fill(const ReadingService* readings);

    // Puts a reading taken from elsewhere (the other reading field) in as a
    // suggestion: the next Fill replaces it, as it replaces its own.
    void Suggest(const QString& reading);

    // The field holds a suggestion the user has not edited.
    bool HoldsSuggestion() const { return suggested_; }

private:
    void Mark(bool doubtful);

    QLineEdit* source_;
    QLineEdit* reading_;
    bool suggested_ = false; // the field holds a suggestion nobody edited
};

} // namespace tessaly
