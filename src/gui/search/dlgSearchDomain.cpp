#include "gui/search/dlgSearchDomain.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "gui/InputGuard.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

TForm_SearchDomain::TForm_SearchDomain(
    MessagePresenter& messages, RunSearch run, const std::vector<std::string>& domains, QWidget* parent)
    : SearchDialog(messages, std::move(run), QStringLiteral("ドメイン検索モード"), help::kSearchDomain, parent)
    , domain_(new QLineEdit)
    , ignoreCase_(new QCheckBox(QStringLiteral("大文字小文字を同一視")))
    , domains_(new QListWidget)
{
    setObjectName(QStringLiteral("TForm_SearchDomain"));
    domain_->setObjectName(QStringLiteral("Edit_Domain"));
    GuardShiftJisInput(domain_, messages);
    ignoreCase_->setObjectName(QStringLiteral("Check_Case"));
    ignoreCase_->setChecked(true);
    domains_->setObjectName(QStringLiteral("ListBox_Domain"));
    for (const std::string& domain : domains) {
        domains_->addItem(ToQString(domain));
    }
    connect(domains_, &QListWidget::itemClicked, this,
        [this](const QListWidgetItem* item) { domain_->setText(item->text()); });
    connect(domains_, &QListWidget::itemDoubleClicked, this, [this](const QListWidgetItem* item) {
        domain_->setText(item->text());
        domain_->setFocus();
        Button1Click();
    });
    auto* domain = new QFormLayout;
    domain->addRow(QStringLiteral("ドメイン"), domain_);
    auto* registered = new QGroupBox(QStringLiteral("既登録ドメイン一覧"));
    (new QVBoxLayout(registered))->addWidget(domains_);
    Body()->addLayout(domain);
    Body()->addWidget(ignoreCase_);
    Body()->addWidget(registered, 1);
    domain_->setFocus();
    resize(380, 420);
}

void TForm_SearchDomain::FillCriteria(TSqueeze& criteria) const
{
    criteria.domain = ToSjisOrEmpty(domain_->text());
    criteria.ignoreCase = ignoreCase_->isChecked();
}

QWidget* TForm_SearchDomain::RetryField() const
{
    return domain_;
}

} // namespace tessaly
