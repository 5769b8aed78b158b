#include "gui/searchsite/dlgOutputDIZ.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/GuiText.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"

namespace tessaly {

TForm_OutputDIZ::TForm_OutputDIZ(std::vector<std::string> templateNames, QWidget* parent)
    : QDialog(parent)
    , templateNames_(std::move(templateNames))
    , template_(new QComboBox)
    , checkErase_(new QCheckBox(QStringLiteral("改行・タブを全て削除")))
    , sortBy_(new QComboBox)
    , sortDir_(new QComboBox)
{
    setObjectName(QStringLiteral("TForm_OutputDIZ"));
    setWindowTitle(QStringLiteral("Vuzuva Derado Redovi データ出力"));
    SetHelpTopic(this, help::kSearchData);
    template_->setObjectName(QStringLiteral("Template"));
    checkErase_->setObjectName(QStringLiteral("CheckErase"));
    sortBy_->setObjectName(QStringLiteral("SortBy"));
    sortDir_->setObjectName(QStringLiteral("SortDir"));
    for (const std::string& name : templateNames_) {
        template_->addItem(ToQString(name));
    }
    // The sort keys of the item selection, in their order.
    sortBy_->addItems(
        {QStringLiteral("ページタイトル"), QStringLiteral("ページ作者名"), QStringLiteral("登録日付(新規)"),
            QStringLiteral("ページタイトル(表記)"), QStringLiteral("ページ作者名(表記)")});
    sortDir_->addItems({QStringLiteral("昇順"), QStringLiteral("降順")});

    auto* templateGroup = new QGroupBox(QStringLiteral("アイテムテンプレート"));
    auto* templateLayout = new QVBoxLayout(templateGroup);
    templateLayout->addWidget(template_);
    templateLayout->addWidget(checkErase_);
    auto* sortGroup = new QGroupBox(QStringLiteral("ソート条件"));
    auto* sortLayout = new QFormLayout(sortGroup);
    sortLayout->addRow(QStringLiteral("条件"), sortBy_);
    sortLayout->addRow(QStringLiteral("方向"), sortDir_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(templateGroup);
    layout->addWidget(sortGroup);
    layout->addWidget(DialogButtons(this, QStringLiteral("実行"), [this] { accept(); }));
    resize(360, 0);
}

DizSettings TForm_OutputDIZ::Settings() const
{
    DizSettings settings;
    settings.templateName = templateNames_.at(static_cast<std::size_t>(template_->currentIndex()));
    settings.eraseBreaks = checkErase_->isChecked();
    settings.sortBy = static_cast<uint8_t>(sortBy_->currentIndex());
    settings.sortDir = static_cast<uint8_t>(sortDir_->currentIndex());
    return settings;
}

} // namespace tessaly
