#include "gui/search/SearchDialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "core/search/SearchMode.h"
#include "core/text/Codepage.h"
#include "core/util/Messages.h"

namespace tessaly {

SearchDialog::SearchDialog(
    MessagePresenter& messages, RunSearch run, const QString& caption, const QString& helpTopic, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , run_(std::move(run))
    , body_(new QVBoxLayout)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body_, 1);
    layout->addWidget(DialogButtons(this, QStringLiteral("検索開始"), [this] { Button1Click(); }, helpTopic));
}

void SearchDialog::Button1Click()
{
    TSqueeze criteria = SearchCriteria();
    FillCriteria(criteria);
    if (run_(criteria)) {
        accept();
        return;
    }
    const MessageButton answer = messages_.Show(MessageKind::Information,
        SjisText(SJ("検索に一致するリンクアイテムが見付かりません.")), MessageButton::Abort | MessageButton::Retry);
    if (answer == MessageButton::Retry) {
        RetryField()->setFocus();
    } else {
        reject();
    }
}

} // namespace tessaly
