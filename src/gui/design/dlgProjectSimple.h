#pragma once

// The simple design: a top menu in the root directory and one directory per
// genre, set up in one form and written to the site's directories at once.

#include <QDialog>

#include "core/design/SimpleDesign.h"
#include "core/text/DateTime.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;

namespace tessaly {

class FileDialogs;
class MessagePresenter;

class TForm_ProjectSimple final : public QDialog {
    Q_OBJECT

public:
    // The form opens with the settings saved in the root directory.
    TForm_ProjectSimple(MessagePresenter& messages, FileDialogs& files, const Project& project, TDateTime today,
        QWidget* parent = nullptr);
    ~TForm_ProjectSimple() override;

    // The form as the controls show it.
    SimpleDesignForm Form() const;
    // After saving: the user asked to run the output next.
    bool OutputRequested() const { return outputRequested_; }

    void BtnSetClick();
    // "設計情報の保存".
    void Button1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* Field(const QString& name, const std::string& text);
    void ShowSelectedRow();
    void BrowseTemplate(QLineEdit* field, const QString& title);

    MessagePresenter& messages_;
    FileDialogs& files_;
    const Project& project_;
    TDateTime today_;
    SimpleDesignForm form_;
    QString directoryOnEntry_;
    bool outputRequested_ = false;
    QTreeWidget* lists_;
    QLineEdit* genreName_;
    QLineEdit* genreDir_;
    QPushButton* btnSet_;
    QLineEdit* nameDefault_;
    QLineEdit* nameSub_;
    QComboBox* templateLink_;
    QLineEdit* templateDefault_;
    QLineEdit* templateSub_;
    QRadioButton* divisionOn_;
    QRadioButton* divisionOff_;
    QSpinBox* divisionCount_;
    QSpinBox* column_;
    QLineEdit* parentFront_;
    QLineEdit* parentRear_;
};

} // namespace tessaly
