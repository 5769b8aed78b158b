#include "gui/tools/dlgReplaceDomain.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/GuiText.h"
#include "gui/InputGuard.h"
#include "core/text/Strings.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

TForm_ReplaceDomain::TForm_ReplaceDomain(
    MessagePresenter& messages, Replace replace, Domains domains, Preview preview, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , replace_(std::move(replace))
    , domains_(std::move(domains))
    , preview_(std::move(preview))
    , find_(new QLineEdit)
    , replaceWith_(new QLineEdit)
    , lists_(new QListWidget)
    , caseCheck_(new QCheckBox(QStringLiteral("大文字小文字を同一視")))
    , partsCheck_(new QCheckBox(QStringLiteral("部分置き換えを許可")))
    , previewList_(new QListWidget)
    , previewCount_(new QLabel)
{
    setObjectName(QStringLiteral("TForm_ReplaceDomain"));
    setWindowTitle(QStringLiteral("ドメイン一括変換ツール"));
    find_->setObjectName(QStringLiteral("FindDomain"));
    replaceWith_->setObjectName(QStringLiteral("ReplaceDomain"));
    lists_->setObjectName(QStringLiteral("Lists"));
    caseCheck_->setObjectName(QStringLiteral("CaseCheck"));
    partsCheck_->setObjectName(QStringLiteral("PartsCheck"));
    caseCheck_->setChecked(true);
    partsCheck_->setChecked(true);
    GuardShiftJisInput(find_, messages);
    GuardShiftJisInput(replaceWith_, messages);
    connect(lists_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { find_->setText(item->text()); });
    previewList_->setObjectName(QStringLiteral("Preview"));
    previewCount_->setObjectName(QStringLiteral("PreviewCount"));
    for (QLineEdit* field : {find_, replaceWith_}) {
        connect(field, &QLineEdit::textChanged, this, &TForm_ReplaceDomain::ShowPreview);
    }
    for (QCheckBox* check : {caseCheck_, partsCheck_}) {
        connect(check, &QCheckBox::toggled, this, &TForm_ReplaceDomain::ShowPreview);
    }

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("検索ドメイン(&F)"), find_);
    fields->addRow(QStringLiteral("置き換えドメイン(&R)"), replaceWith_);
    auto* registered = new QGroupBox(QStringLiteral("既登録ドメイン一覧"));
    (new QVBoxLayout(registered))->addWidget(lists_);
    auto* changes = new QGroupBox(QStringLiteral("置き換わるアドレス (変換前 → 変換後)"));
    auto* changesLayout = new QVBoxLayout(changes);
    changesLayout->addWidget(previewList_);
    changesLayout->addWidget(previewCount_);
    QDialogButtonBox* buttons
        = DialogButtons(this, QStringLiteral("変換実行"), [this] { Button1Click(); }, help::kReplaceDomain);
    buttons->findChild<QPushButton*>(QStringLiteral("Button2"))->setText(QStringLiteral("終了"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(registered, 1);
    layout->addWidget(changes, 1);
    layout->addWidget(caseCheck_);
    layout->addWidget(partsCheck_);
    layout->addWidget(buttons);
    resize(520, 640);
    FillDomains();
    ShowPreview();
}

DomainReplaceSettings TForm_ReplaceDomain::Settings() const
{
    return {std::string(Trim(ToSjisOrEmpty(find_->text()))), std::string(Trim(ToSjisOrEmpty(replaceWith_->text()))),
        caseCheck_->isChecked(), partsCheck_->isChecked()};
}

void TForm_ReplaceDomain::ShowPreview()
{
    const DomainReplacePreview preview = preview_(Settings());
    previewList_->clear();
    for (const AddressChange& change : preview.changes) {
        previewList_->addItem(ToQString(change.before) + QStringLiteral(" → ") + ToQString(change.after));
    }
    previewCount_->setText(preview.total == 0 ? QStringLiteral("置き換わるアドレスはありません.")
            : preview.total > preview.changes.size()
            ? QStringLiteral("%1 件のアドレスが置き換わります (初めの %2 件を表示).")
                  .arg(preview.total)
                  .arg(preview.changes.size())
            : QStringLiteral("%1 件のアドレスが置き換わります.").arg(preview.total));
}

void TForm_ReplaceDomain::FillDomains()
{
    lists_->clear();
    for (const std::string& domain : domains_()) {
        lists_->addItem(ToQString(domain));
    }
}

void TForm_ReplaceDomain::Button1Click()
{
    const DomainReplaceSettings settings = Settings();
    if (settings.find.empty()) {
        messages_.Show(MessageKind::Warning, SjisText(DomainFindMissingMessage()), MessageButton::Retry);
        find_->setFocus();
        return;
    }
    if (settings.replace.empty()
        && messages_.Show(MessageKind::Confirmation, SjisText(DomainReplaceEmptyQuestion()),
               MessageButton::Yes | MessageButton::Cancel)
            != MessageButton::Yes) {
        replaceWith_->setFocus();
        return;
    }
    const std::size_t count = replace_(settings);
    messages_.Show(MessageKind::Information, SjisText(DomainReplaceResultMessage(count)), MessageButton::Ok);
    if (count > 0) {
        FillDomains();
        ShowPreview();
    }
}

} // namespace tessaly
