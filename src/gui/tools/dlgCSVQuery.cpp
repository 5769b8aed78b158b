#include "dlgCSVQuery.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogButtons.h"

namespace tessaly {

namespace {

QRadioButton* Choice(const char* name, const QString& caption)
{
    auto* button = new QRadioButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

TForm_CSVQuery::TForm_CSVQuery(QWidget* parent)
    : QDialog(parent)
    , erase_(Choice("Radio_Erase", QStringLiteral("改行を削除して出力(&E)")))
    , top_(Choice("Radio_Top", QStringLiteral("先頭の一行のみ出力(&T)")))
    , literal_(Choice("Radio_C", QStringLiteral("C 言語形式リテラル(&C)")))
    , none_(Choice("Radio_None", QStringLiteral("出力しない(&N)")))
{
    setObjectName(QStringLiteral("TForm_CSVQuery"));
    setWindowTitle(QStringLiteral("CSV 形式出力の形式"));
    erase_->setChecked(true);
    auto* group = new QGroupBox(QStringLiteral(" 改行を含むコメントの取り扱い "));
    auto* choices = new QVBoxLayout(group);
    for (QRadioButton* button : {erase_, top_, literal_, none_}) {
        choices->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(DialogButtons(this, QStringLiteral("実行"), [this] { accept(); }));
}

CsvCommentMode TForm_CSVQuery::CommentMode() const
{
    return top_->isChecked() ? CsvCommentMode::Top
        : literal_->isChecked() ? CsvCommentMode::Literal
        : none_->isChecked()    ? CsvCommentMode::None
                                : CsvCommentMode::Erase;
}

} // namespace tessaly
