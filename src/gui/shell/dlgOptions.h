#pragma once

// The environment options: external programs (editor, browser) and the
// user-interface choices.

#include <QDialog>

#include "core/settings/AppSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessaly {

class FileDialogs;

class TForm_Options final : public QDialog {
    Q_OBJECT

public:
    TForm_Options(const AppSettings& settings, FileDialogs& files, QWidget* parent = nullptr);

    // The settings with every control copied back.
    AppSettings Settings() const;

    void UpdateEnabling();
    void ChoosePreset(int preset);

private:
    AppSettings settings_;
    FileDialogs& files_;
    QLineEdit* editor_;
    QRadioButton* defShell_;
    QRadioButton* details_;
    QComboBox* preset_;
    QCheckBox* ddeUse_;
    QLineEdit* appPath_;
    QPushButton* browse_;
    QLineEdit* ddeService_;
    QLineEdit* ddeTopic_;
    QComboBox* doubleClick_;
    QComboBox* fileDrop_;
    QCheckBox* girlDisabled_;
};

} // namespace tessaly
