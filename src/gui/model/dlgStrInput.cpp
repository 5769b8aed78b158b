#include "gui/model/dlgStrInput.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/GuiText.h"
#include "core/collection/CollectionEditing.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"

namespace tessaly {

TForm_StrInput::TForm_StrInput(
    MessagePresenter& messages, const QString& caption, const QString& prompt, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , infoLabel_(new QLabel(prompt))
    , editBox_(new QLineEdit)
{
    setObjectName(QStringLiteral("TForm_StrInput"));
    setWindowTitle(caption);
    SetHelpTopic(this, help::kNameInput);
    infoLabel_->setObjectName(QStringLiteral("InfoLabel"));
    editBox_->setObjectName(QStringLiteral("EditBox"));
    editBox_->setMinimumWidth(280);
    QDialogButtonBox* buttons = OkCancelButtons(this, [this] { Button1Click(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLabel_);
    layout->addWidget(editBox_);
    layout->addWidget(buttons);
}

void TForm_StrInput::SetText(const QString& text)
{
    editBox_->setText(text);
    editBox_->selectAll();
}

QString TForm_StrInput::Text() const
{
    return editBox_->text();
}

void TForm_StrInput::SetExisting(std::vector<std::string> names, int renaming)
{
    existing_ = std::move(names);
    renaming_ = renaming;
}

void TForm_StrInput::Button1Click()
{
    QString bad;
    const std::optional<std::string> text = ToSjis(editBox_->text(), &bad);
    if (!text) {
        messages_.Show(MessageKind::Warning, SjisText(UnrepresentableMessage(bad)), MessageButton::Retry);
        editBox_->setFocus();
        return;
    }
    const NameCheck check = CheckName(*text, existing_, renaming_);
    if (check == NameCheck::Empty) {
        messages_.Beep();
    } else if (check != NameCheck::Ok) {
        messages_.Show(MessageKind::Warning, SjisText(NameCheckMessage(check)), MessageButton::Retry);
    } else {
        accept();
        return;
    }
    editBox_->setFocus();
}

} // namespace tessaly
