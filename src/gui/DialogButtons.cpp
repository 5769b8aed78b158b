#include "gui/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "gui/shell/dlgHelp.h"

namespace tessaly {

QDialogButtonBox* DialogButtons(
    QDialog* dialog, const QString& okCaption, const std::function<void()>& onOk, const QString& helpTopic)
{
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(okCaption, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Button2"));
    QObject::connect(ok, &QPushButton::clicked, dialog, onOk);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    if (!helpTopic.isEmpty()) {
        QPushButton* help = buttons->addButton(QStringLiteral("ヘルプ(&H)"), QDialogButtonBox::HelpRole);
        help->setObjectName(QStringLiteral("Button3"));
        QObject::connect(help, &QPushButton::clicked, dialog, [dialog, helpTopic] { ShowHelp(dialog, helpTopic); });
        SetHelpTopic(dialog, helpTopic);
    }
    return buttons;
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog, const std::function<void()>& onOk)
{
    return DialogButtons(dialog, QStringLiteral("OK"), onOk);
}

} // namespace tessaly
