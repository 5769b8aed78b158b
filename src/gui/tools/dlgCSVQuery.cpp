#include "gui/tools/dlgCSVQuery.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QCheckBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"

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
    , safeFormulas_(new QCheckBox(QStringLiteral("表計算ソフトで数式として扱われるセルを文字列にする(&F)")))
{
    setObjectName(QStringLiteral("TForm_CSVQuery"));
    setWindowTitle(QStringLiteral("CSV 形式出力の形式"));
    SetHelpTopic(this, help::kCsvQuery);
    erase_->setChecked(true);
    auto* group = new QGroupBox(QStringLiteral(" 改行を含むコメントの取り扱い "));
    auto* choices = new QVBoxLayout(group);
    for (QRadioButton* button : {erase_, top_, literal_, none_}) {
        choices->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    safeFormulas_->setObjectName(QStringLiteral("CheckBox_SafeFormulas"));
    safeFormulas_->setToolTip(QStringLiteral("「=」「+」「-」「@」などで始まるセルの前に「'」を付けます"));
    layout->addWidget(safeFormulas_);
    layout->addWidget(DialogButtons(this, QStringLiteral("実行"), [this] { accept(); }));
}

CsvCommentMode TForm_CSVQuery::CommentMode() const
{
    return top_->isChecked() ? CsvCommentMode::Top
        : literal_->isChecked() ? CsvCommentMode::Literal
        : none_->isChecked()    ? CsvCommentMode::None
                                : CsvCommentMode::Erase;
}

CsvFormulas TForm_CSVQuery::Formulas() const
{
    return safeFormulas_->isChecked() ? CsvFormulas::Defused : CsvFormulas::AsStored;
}

} // namespace tessaly
