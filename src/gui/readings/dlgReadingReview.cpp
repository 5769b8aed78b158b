#include "gui/readings/dlgReadingReview.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "core/text/Codepage.h"
#include "core/util/Messages.h"
#include "gui/DialogButtons.h"
#include "gui/GuiText.h"
#include "gui/items/ItemProblemWarning.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

namespace {

enum Column { kDoubt, kTitle, kTitleKana, kAuthor, kAuthorKana, kColumns };

QTableWidgetItem* Cell(const QString& text, bool editable)
{
    auto* cell = new QTableWidgetItem(text);
    if (!editable) {
        cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
    }
    return cell;
}

} // namespace

TForm_ReadingReview::TForm_ReadingReview(
    MessagePresenter& messages, std::vector<ReviewedReading> readings, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , table_(new QTableWidget(static_cast<int>(readings.size()), kColumns))
{
    setObjectName(QStringLiteral("Form_ReadingReview"));
    setWindowTitle(QStringLiteral("読みの確認"));
    std::stable_sort(readings.begin(), readings.end(),
        [](const ReviewedReading& a, const ReviewedReading& b) { return !a.complete && b.complete; });
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(QStringLiteral("次のリンクの読みは推測です. 表の中で直して下さい (ダブルクリックか F2 "
                                           "で編集). 直した読みは次から推測に使われます."));
    note->setWordWrap(true);
    layout->addWidget(note);
    table_->setObjectName(QStringLiteral("Table_Readings"));
    table_->setHorizontalHeaderLabels({QStringLiteral("確かさ"), QStringLiteral("タイトル"), QStringLiteral("読み"),
        QStringLiteral("作者"), QStringLiteral("作者の読み")});
    table_->verticalHeader()->setVisible(false);
    table_->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const TLinkItem& item = readings[i].item;
        const int row = static_cast<int>(i);
        table_->setItem(
            row, kDoubt, Cell(readings[i].complete ? QStringLiteral("推測") : QStringLiteral("一部のみ"), false));
        table_->setItem(row, kTitle, Cell(ToQString(item.Title), true));
        table_->setItem(row, kTitleKana, Cell(ToQString(item.TitleKana), true));
        table_->setItem(row, kAuthor, Cell(ToQString(item.Author), true));
        table_->setItem(row, kAuthorKana, Cell(ToQString(item.AuthorKana), true));
        items_.push_back(item);
        titleReadings_.push_back(ToQString(item.TitleKana));
    }
    // Every column in sight: one long title does not push the others out.
    table_->resizeColumnsToContents();
    for (const int column : {kTitle, kTitleKana, kAuthor, kAuthorKana}) {
        table_->setColumnWidth(column, std::clamp(table_->columnWidth(column), 150, 260));
    }
    // Wide enough for every word the certainty column may come to show.
    table_->setColumnWidth(kDoubt, std::max(table_->columnWidth(kDoubt),
                                       table_->fontMetrics().horizontalAdvance(QStringLiteral("一部のみ")) + 16));
    table_->horizontalHeader()->setStretchLastSection(true);
    if (!readings.empty()) {
        table_->setCurrentCell(0, kTitleKana);
        table_->scrollToItem(table_->item(0, kDoubt));
    }
    connect(table_, &QTableWidget::itemChanged, this, &TForm_ReadingReview::CellChanged);
    layout->addWidget(table_);
    layout->addWidget(DialogButtons(this, QStringLiteral("OK"), [this] { Button1Click(); }, help::kReadingReview));
    resize(900, 560);
}

void TForm_ReadingReview::CellChanged(QTableWidgetItem* cell)
{
    if (cell->column() == kDoubt) {
        return;
    }
    // A row the user corrected is his, no longer a guess.
    corrected_ = true;
    table_->item(cell->row(), kDoubt)->setText(QStringLiteral("直した"));
    if (cell->column() != kTitleKana) {
        return;
    }
    // Without an author his reading is the title's, and follows its
    // correction while it is the copy.
    const auto row = static_cast<std::size_t>(cell->row());
    QTableWidgetItem* authorKana = table_->item(cell->row(), kAuthorKana);
    const QString before = std::exchange(titleReadings_[row], cell->text());
    if (table_->item(cell->row(), kAuthor)->text().trimmed().isEmpty() && authorKana->text() == before) {
        authorKana->setText(cell->text());
    }
}

void TForm_ReadingReview::reject()
{
    if (corrected_
        && messages_.Show(MessageKind::Confirmation, SjisText(SJ("直した読みを捨てて閉じますか？")),
               MessageButton::Yes | MessageButton::No)
            != MessageButton::Yes) {
        return;
    }
    QDialog::reject();
}

void TForm_ReadingReview::Button1Click()
{
    std::vector<TLinkItem> edited = items_;
    for (std::size_t i = 0; i < edited.size(); ++i) {
        const int row = static_cast<int>(i);
        TLinkItem& item = edited[i];
        std::string* const fields[] = {nullptr, &item.Title, &item.TitleKana, &item.Author, &item.AuthorKana};
        for (int column = kTitle; column < kColumns; ++column) {
            QString bad;
            const std::optional<std::string> text = ToSjis(table_->item(row, column)->text().trimmed(), &bad);
            if (!text) {
                messages_.Show(MessageKind::Warning, SjisText(UnrepresentableMessage(bad)), MessageButton::Retry);
                table_->setCurrentCell(row, column);
                return;
            }
            *fields[column] = *text;
        }
        if (const ItemProblem problem = FindItemProblem(item); problem != ItemProblem::None) {
            messages_.Show(MessageKind::Warning, SjisText(SJ(ItemProblemWarning(problem))), MessageButton::Retry);
            const bool author
                = problem == ItemProblem::AuthorKanaMissing || problem == ItemProblem::AuthorKanaNotHiragana;
            table_->setCurrentCell(row,
                problem == ItemProblem::TitleMissing ? kTitle
                    : author                         ? kAuthorKana
                                                     : kTitleKana);
            table_->setFocus();
            return;
        }
    }
    items_ = std::move(edited);
    accept();
}

} // namespace tessaly
