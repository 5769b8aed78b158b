#include "gui/design/dlgResSelect.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/InputGuard.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"
#include "core/text/Strings.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"

namespace tessaly {

TForm_ResSelect::TForm_ResSelect(
    MessagePresenter& messages, FileDialogs& files, const std::string& baseDirectory, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , files_(files)
    , baseDirectory_(baseDirectory)
    , anchor_(new QLineEdit)
    , resource_(new QLineEdit)
    , base_(new QLineEdit(ToQString(baseDirectory)))
{
    setObjectName(QStringLiteral("TForm_ResSelect"));
    setWindowTitle(QStringLiteral("ハイパーリンク編集"));
    SetHelpTopic(this, help::kHyperlink);
    anchor_->setObjectName(QStringLiteral("Anchor"));
    resource_->setObjectName(QStringLiteral("Resource"));
    base_->setObjectName(QStringLiteral("BaseDirectory"));
    base_->setReadOnly(true);
    GuardShiftJisInput(anchor_, messages);
    GuardShiftJisInput(resource_, messages);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("アンカー(&A)"), anchor_);
    form->addRow(QStringLiteral("リソース(&R)"), resource_);
    form->addRow(QStringLiteral("ベース"), base_);
    QDialogButtonBox* buttons = DialogButtons(this, QStringLiteral("決定"), [this] { Button1Click(); });
    QPushButton* file = buttons->addButton(QStringLiteral("ファイル選択(&F)"), QDialogButtonBox::ActionRole);
    file->setObjectName(QStringLiteral("FileSelect"));
    connect(file, &QPushButton::clicked, this, &TForm_ResSelect::ChooseFile);
    QPushButton* directory = buttons->addButton(QStringLiteral("ディレクトリ選択(&D)"), QDialogButtonBox::ActionRole);
    directory->setObjectName(QStringLiteral("DirectorySelect"));
    connect(directory, &QPushButton::clicked, this, &TForm_ResSelect::ChooseDirectory);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

void TForm_ResSelect::SetLink(const DirectoryLink& link)
{
    anchor_->setText(ToQString(link.anchor));
    resource_->setText(ToQString(link.target));
}

DirectoryLink TForm_ResSelect::Link() const
{
    return {std::string(Trim(ToSjisOrEmpty(anchor_->text()))), std::string(Trim(ToSjisOrEmpty(resource_->text())))};
}

void TForm_ResSelect::Button1Click()
{
    const DirectoryLink link = Link();
    if (link.anchor.empty()) {
        messages_.Show(MessageKind::Warning, SjisText(SJ("アンカーを指定して下さい.")), MessageButton::Retry);
        anchor_->setFocus();
        return;
    }
    if (link.target.empty()) {
        messages_.Show(MessageKind::Warning, SjisText(SJ("リンクするリソースを指定して下さい.")), MessageButton::Retry);
        resource_->setFocus();
        return;
    }
    accept();
}

QString TForm_ResSelect::ResolvedResource() const
{
    const std::string resource(Trim(ToSjisOrEmpty(resource_->text())));
    return ToQString(resource.empty() ? baseDirectory_ : ResolveRelative(baseDirectory_, resource));
}

void TForm_ResSelect::SetResource(const QString& chosen, bool directory)
{
    const std::optional<std::string> path = ToSjis(directory ? QDir(chosen).absolutePath() + u'/' : chosen);
    if (!path) {
        messages_.Show(MessageKind::Error, SjisText(SJ("選んだ名前は Shift_JIS で表せません.")), MessageButton::Abort);
        return;
    }
    resource_->setText(ToQString(RelativeLink(baseDirectory_, *path)));
}

void TForm_ResSelect::ChooseFile()
{
    const QString resolved = ResolvedResource();
    const QFileInfo current(resolved);
    const QString start = resource_->text().trimmed().isEmpty() ? ToQString(baseDirectory_)
        : current.isDir() ? resolved
        : current.dir().exists() ? resolved
                                 : ToQString(baseDirectory_);
    if (const std::optional<QString> chosen = files_.OpenFile(this, QStringLiteral("リンク先リソースの選択"),
            QStringLiteral("全てのファイル (*);;HTML ファイル (*.html *.htm);;イメージファイル (*.gif *.jpg *.jpeg *.png)"),
            start)) {
        SetResource(*chosen, false);
    }
}

void TForm_ResSelect::ChooseDirectory()
{
    const QFileInfo current(ResolvedResource());
    const QString directory = current.isDir() ? current.absoluteFilePath() : current.absolutePath();
    const QString start = resource_->text().trimmed().isEmpty() || !QFileInfo(directory).isDir()
        ? ToQString(baseDirectory_)
        : directory;
    if (const std::optional<QString> chosen
        = files_.ChooseDirectory(this, QStringLiteral("リンク先ディレクトリの選択"), start)) {
        SetResource(*chosen, true);
    }
}

} // namespace tessaly
