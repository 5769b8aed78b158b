#include "gui/search/frmSqueeze.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "core/collection/ItemMarks.h"
#include "core/collection/Project.h"
#include "gui/search/dlgDateList.h"
#include "gui/items/frmDateTimePicker.h"
#include "gui/search/frmOperateView.h"
#include "core/text/Collation.h"
#include "core/text/Kana.h"

namespace tessaly {

namespace {

QComboBox* ChoiceBox(const QString& name, const QStringList& entries)
{
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->addItems(entries);
    return box;
}

// The 83 hiragana in code order, then an empty entry that stands for none.
QListWidget* InitialsList(const QString& name)
{
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    for (unsigned code = kFirstHiragana; code <= kLastHiragana; ++code) {
        const char bytes[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        list->addItem(ToQString(std::string_view(bytes, 2)));
    }
    list->addItem(QString());
    return list;
}

QGroupBox* Group(const QString& caption, QWidget* content)
{
    auto* group = new QGroupBox(caption);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(content);
    return group;
}

KanaRange SelectedInitials(const QListWidget* list)
{
    KanaRange flags;
    for (std::size_t i = 0; i < kKanaCount; ++i) {
        flags.set(i, list->item(static_cast<int>(i))->isSelected());
    }
    return flags;
}

void SelectInitials(QListWidget* list, const KanaRange& flags)
{
    for (std::size_t i = 0; i < kKanaCount; ++i) {
        list->item(static_cast<int>(i))->setSelected(flags.test(i));
    }
}

} // namespace

SqueezeChoices SqueezeChoicesOf(const Project& project, const std::vector<TLinkItem>& shownRows, TDateTime today)
{
    SqueezeChoices choices;
    for (std::size_t genre = 1; genre + 1 < project.Genres.size(); ++genre) {
        choices.genres.push_back(project.Genres[genre].Name);
    }
    choices.attributes = project.Attributes;
    choices.contents = project.Contents;
    choices.dates = RegisteredDates(project, shownRows);
    choices.today = today;
    return choices;
}

TFrame_Squeeze::TFrame_Squeeze(QWidget* parent)
    : QWidget(parent)
    , genre_(ChoiceBox(QStringLiteral("Genre"), {QStringLiteral("(無指定)")}))
    , dateRange_(ChoiceBox(QStringLiteral("DateRange"),
          {QStringLiteral("(無指定)"), QStringLiteral("当日"), QStringLiteral("範囲"), QStringLiteral("以降"),
              QStringLiteral("以前")}))
    , dateBegin_(new TFrame_DateTimePicker)
    , dateEnd_(new TFrame_DateTimePicker)
    , sortBy_(ChoiceBox(QStringLiteral("SortBy"),
          {QStringLiteral("ページタイトル"), QStringLiteral("ページ作者名"), QStringLiteral("登録日付(新規)"),
              QStringLiteral("ページタイトル(表記)"), QStringLiteral("ページ作者名(表記)")}))
    , sortDir_(ChoiceBox(QStringLiteral("SortDir"), {QStringLiteral("昇順"), QStringLiteral("降順")}))
    , title_(InitialsList(QStringLiteral("Title")))
    , author_(InitialsList(QStringLiteral("Author")))
    , attribute_(new TFrame_OperateView)
    , content_(new TFrame_OperateView)
    , important_(ChoiceBox(QStringLiteral("Important"),
          {QStringLiteral("(無指定)"), QStringLiteral("標準"), QStringLiteral("お気に入り"),
              QStringLiteral("警告・要注意"), QStringLiteral("削除予定"), QStringLiteral("重要度やや高い"),
              QStringLiteral("重要度高い"), QStringLiteral("重要度最高")}))
{
    setObjectName(QStringLiteral("TFrame_Squeeze"));
    dateBegin_->setObjectName(QStringLiteral("DateBegin"));
    dateEnd_->setObjectName(QStringLiteral("DateEnd"));
    attribute_->setObjectName(QStringLiteral("Attribute"));
    content_->setObjectName(QStringLiteral("Content"));

    auto* dates = new QWidget;
    auto* datesLayout = new QVBoxLayout(dates);
    datesLayout->setContentsMargins(0, 0, 0, 0);
    datesLayout->addWidget(dateRange_);
    datesLayout->addWidget(DateRow(QStringLiteral("先頭"), dateBegin_, beginLabel_, beginList_,
        QStringLiteral("DateBegin_Reff")));
    datesLayout->addWidget(
        DateRow(QStringLiteral("最後"), dateEnd_, endLabel_, endList_, QStringLiteral("DateEnd_Reff")));
    auto* sort = new QWidget;
    auto* sortLayout = new QHBoxLayout(sort);
    sortLayout->setContentsMargins(0, 0, 0, 0);
    sortLayout->addWidget(sortBy_, 1);
    sortLayout->addWidget(sortDir_);

    auto* left = new QVBoxLayout;
    left->addWidget(Group(QStringLiteral(" ジャンル "), genre_));
    left->addWidget(Group(QStringLiteral(" 日付範囲 "), dates));
    left->addWidget(Group(QStringLiteral(" ソート条件 "), sort));
    left->addWidget(Group(QStringLiteral(" アイテムの状態 "), important_));
    left->addStretch();
    auto* initials = new QHBoxLayout;
    initials->addWidget(Group(QStringLiteral(" タイトル "), title_));
    initials->addWidget(Group(QStringLiteral(" 作者名 "), author_));
    auto* operations = new QHBoxLayout;
    operations->addWidget(Group(QStringLiteral(" アトリビュート演算 "), attribute_));
    operations->addWidget(Group(QStringLiteral(" コンテンツ演算 "), content_));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addLayout(left, 0, 0);
    grid->addLayout(initials, 0, 1);
    grid->addLayout(operations, 1, 0, 1, 2);
    grid->setRowStretch(1, 1);
    for (QListWidget* list : {title_, author_}) {
        list->setMaximumWidth(72);
    }

    connect(dateRange_, &QComboBox::currentIndexChanged, this, &TFrame_Squeeze::DateRangeChange);
    connect(beginList_, &QPushButton::clicked, this, [this] { TForm_DateList::Open(dates_, dateBegin_); });
    connect(endList_, &QPushButton::clicked, this, [this] { TForm_DateList::Open(dates_, dateEnd_); });
    Reset();
}

QWidget* TFrame_Squeeze::DateRow(const QString& caption, TFrame_DateTimePicker* picker, QLabel*& label,
    QPushButton*& button, const QString& buttonName)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    label = new QLabel(caption);
    label->setBuddy(picker->YearBox());
    button = new QPushButton(QStringLiteral("一覧"));
    button->setObjectName(buttonName);
    layout->addWidget(label);
    layout->addWidget(picker, 1);
    layout->addWidget(button);
    return row;
}

void TFrame_Squeeze::Initialise(const SqueezeChoices& choices)
{
    genres_ = choices.genres;
    dates_ = choices.dates;
    today_ = choices.today;
    genre_->clear();
    genre_->addItem(QStringLiteral("(無指定)"));
    for (const std::string& name : genres_) {
        genre_->addItem(ToQString(name));
    }
    attribute_->SetNames(choices.attributes);
    content_->SetNames(choices.contents);
    Reset();
}

void TFrame_Squeeze::Reset()
{
    for (QComboBox* box : {genre_, dateRange_, sortBy_, sortDir_, important_}) {
        box->setCurrentIndex(0);
    }
    dateBegin_->SetDate(today_);
    dateEnd_->SetDate(today_);
    title_->clearSelection();
    author_->clearSelection();
    attribute_->Reset();
    content_->Reset();
    DateRangeChange();
}

void TFrame_Squeeze::DateRangeChange()
{
    const int mode = dateRange_->currentIndex();
    const bool begin = mode == 1 || mode == 2 || mode == 3;
    const bool end = mode == 2 || mode == 4;
    const bool anyDates = !dates_.empty();
    dateBegin_->SetFormEnabled(begin);
    beginLabel_->setEnabled(begin);
    beginList_->setEnabled(begin && anyDates);
    dateEnd_->SetFormEnabled(end);
    endLabel_->setEnabled(end);
    endList_->setEnabled(end && anyDates);
}

void TFrame_Squeeze::Read(TSqueeze& criteria) const
{
    const int genre = genre_->currentIndex();
    criteria.genre = genre > 0 ? genres_[static_cast<std::size_t>(genre - 1)] : std::string();
    criteria.dateMode = static_cast<uint8_t>(dateRange_->currentIndex());
    const bool begin = criteria.dateMode == 1 || criteria.dateMode == 2 || criteria.dateMode == 3;
    const bool end = criteria.dateMode == 2 || criteria.dateMode == 4;
    criteria.date1 = begin ? dateBegin_->Date().value_or(TDateTime{}) : TDateTime{};
    criteria.date2 = end ? dateEnd_->Date().value_or(TDateTime{}) : TDateTime{};
    criteria.sortBy = static_cast<uint8_t>(sortBy_->currentIndex());
    criteria.sortDir = static_cast<uint8_t>(sortDir_->currentIndex());
    criteria.titleRange = SelectedInitials(title_);
    criteria.authorRange = SelectedInitials(author_);
    criteria.status = static_cast<uint8_t>(important_->currentIndex());
    criteria.attrAnd = attribute_->NamesWith(QStringLiteral("AND"));
    criteria.attrOr = attribute_->NamesWith(QStringLiteral("OR"));
    criteria.attrNot = attribute_->NamesWith(QStringLiteral("NOT"));
    criteria.contentAnd = content_->NamesWith(QStringLiteral("AND"));
    criteria.contentOr = content_->NamesWith(QStringLiteral("OR"));
    criteria.contentNot = content_->NamesWith(QStringLiteral("NOT"));
}

void TFrame_Squeeze::Show(const TSqueeze& criteria)
{
    Reset();
    int genre = 0;
    for (std::size_t i = 0; i < genres_.size() && !criteria.genre.empty(); ++i) {
        if (SameNameIgnoringAsciiCase(genres_[i], criteria.genre)) {
            genre = static_cast<int>(i) + 1;
            break;
        }
    }
    genre_->setCurrentIndex(genre);
    dateRange_->setCurrentIndex(criteria.dateMode <= 4 ? criteria.dateMode : 0);
    const int mode = dateRange_->currentIndex();
    if (mode == 1 || mode == 2 || mode == 3) {
        dateBegin_->SetDate(criteria.date1);
    }
    if (mode == 2 || mode == 4) {
        dateEnd_->SetDate(criteria.date2);
    }
    important_->setCurrentIndex(criteria.status <= 7 ? criteria.status : 0);
    sortBy_->setCurrentIndex(criteria.sortBy <= 4 ? criteria.sortBy : 0);
    sortDir_->setCurrentIndex(criteria.sortDir <= 1 ? criteria.sortDir : 0);
    SelectInitials(title_, criteria.titleRange);
    SelectInitials(author_, criteria.authorRange);
    attribute_->MarkNames(criteria.attrAnd, QStringLiteral("AND"));
    attribute_->MarkNames(criteria.attrOr, QStringLiteral("OR"));
    attribute_->MarkNames(criteria.attrNot, QStringLiteral("NOT"));
    content_->MarkNames(criteria.contentAnd, QStringLiteral("AND"));
    content_->MarkNames(criteria.contentOr, QStringLiteral("OR"));
    content_->MarkNames(criteria.contentNot, QStringLiteral("NOT"));
}

void TFrame_Squeeze::SetSortEnabled(bool enabled)
{
    sortBy_->setEnabled(enabled);
    sortDir_->setEnabled(enabled);
}

} // namespace tessaly
