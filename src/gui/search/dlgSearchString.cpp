#include "gui/search/dlgSearchString.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "gui/InputGuard.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

namespace {

QCheckBox* CheckedBox(const QString& name, const QString& caption)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    box->setChecked(true);
    return box;
}

} // namespace

TForm_SearchString::TForm_SearchString(MessagePresenter& messages, RunSearch run, QWidget* parent)
    : SearchDialog(messages, std::move(run), QStringLiteral("文字列検索モード"), help::kSearchString, parent)
    , keyword_(new QLineEdit)
    , title_(CheckedBox(QStringLiteral("Check_Title"), QStringLiteral("ページタイトルを検索")))
    , titleKana_(CheckedBox(QStringLiteral("Check_TitleKana"), QStringLiteral("ページタイトル(かな)を検索")))
    , author_(CheckedBox(QStringLiteral("Check_Author"), QStringLiteral("作者名を検索")))
    , authorKana_(CheckedBox(QStringLiteral("Check_AuthorKana"), QStringLiteral("作者名(かな)を検索")))
    , comment_(CheckedBox(QStringLiteral("Check_Comment"), QStringLiteral("コメントを検索")))
    , ignoreCase_(CheckedBox(QStringLiteral("Check_Case"), QStringLiteral("大文字小文字を同一視")))
{
    setObjectName(QStringLiteral("TForm_SearchString"));
    keyword_->setObjectName(QStringLiteral("Edit_KeyWord"));
    GuardShiftJisInput(keyword_, messages);
    auto* keyword = new QFormLayout;
    keyword->addRow(QStringLiteral("キーワード"), keyword_);
    auto* fields = new QGroupBox(QStringLiteral("検索項目"));
    auto* fieldsLayout = new QVBoxLayout(fields);
    for (QCheckBox* box : {title_, titleKana_, author_, authorKana_, comment_}) {
        fieldsLayout->addWidget(box);
    }
    Body()->addLayout(keyword);
    Body()->addWidget(fields);
    Body()->addWidget(ignoreCase_);
    keyword_->setFocus();
    resize(360, 0);
}

void TForm_SearchString::FillCriteria(TSqueeze& criteria) const
{
    criteria.keyword = ToSjisOrEmpty(keyword_->text());
    criteria.inTitle = title_->isChecked();
    criteria.inTitleKana = titleKana_->isChecked();
    criteria.inAuthor = author_->isChecked();
    criteria.inAuthorKana = authorKana_->isChecked();
    criteria.inComment = comment_->isChecked();
    criteria.ignoreCase = ignoreCase_->isChecked();
}

QWidget* TForm_SearchString::RetryField() const
{
    return keyword_;
}

} // namespace tessaly
