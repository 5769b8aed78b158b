#pragma once

#include <deque>
#include <optional>

#include <QStringList>

#include "gui/FileDialogs.h"

namespace tessaly::test {

// Answers file dialogs from a queue (cancel when it is empty) and records
// their titles.
class ScriptedFileDialogs final : public FileDialogs {
public:
    // A null string answers as a cancelled dialog.
    void SetNextFile(const QString& file) { answers_.push_back(file); }

    std::optional<QString> OpenFile(QWidget*, const QString& title, const QString&, const QString& start = {}) override
    {
        starts.append(start);
        return Next(title);
    }
    std::optional<QString> ChooseDirectory(QWidget*, const QString& title, const QString& start) override
    {
        starts.append(start);
        return Next(title);
    }
    std::optional<QString> SaveFile(QWidget*, const QString& title, const QString&, const QString&) override
    {
        return Next(title);
    }

    QStringList titles;
    QStringList starts;

private:
    std::optional<QString> Next(const QString& title)
    {
        titles.append(title);
        const QString answer = answers_.empty() ? QString() : answers_.front();
        if (!answers_.empty()) {
            answers_.pop_front();
        }
        return answer.isNull() ? std::nullopt : std::optional<QString>(answer);
    }

    std::deque<QString> answers_;
};

} // namespace tessaly::test
