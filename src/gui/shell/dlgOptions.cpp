#include "gui/shell/dlgOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/FileDialogs.h"
#include "gui/FieldRow.h"
#include "gui/GuiText.h"
#include "gui/shell/dlgHelp.h"
#include "core/settings/ExternalPrograms.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {


TForm_Options::TForm_Options(const AppSettings& settings, FileDialogs& files, QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
    , files_(files)
    , editor_(new QLineEdit(ToQString(settings.editorPath)))
    , defShell_(new QRadioButton(QStringLiteral("標準の関連付け")))
    , details_(new QRadioButton(QStringLiteral("詳細設定")))
    , preset_(new QComboBox)
    , ddeUse_(new QCheckBox(QStringLiteral("DDE 呼び出し")))
    , appPath_(new QLineEdit(ToQString(settings.browser.appPath)))
    , browse_(new QPushButton(QStringLiteral("参照...")))
    , ddeService_(new QLineEdit(ToQString(settings.browser.ddeService)))
    , ddeTopic_(new QLineEdit(ToQString(settings.browser.ddeTopic)))
    , doubleClick_(new QComboBox)
    , fileDrop_(new QComboBox)
    , girlDisabled_(new QCheckBox(QStringLiteral("起動画面で女の子が表示されないようにする")))
{
    setObjectName(QStringLiteral("TForm_Options"));
    setWindowTitle(QStringLiteral("環境オプション"));
    editor_->setObjectName(QStringLiteral("TextEdotor"));
    defShell_->setObjectName(QStringLiteral("defShell"));
    details_->setObjectName(QStringLiteral("Details"));
    preset_->setObjectName(QStringLiteral("template"));
    ddeUse_->setObjectName(QStringLiteral("ddeUse"));
    appPath_->setObjectName(QStringLiteral("appPath"));
    browse_->setObjectName(QStringLiteral("browserReff"));
    ddeService_->setObjectName(QStringLiteral("ddeService"));
    ddeTopic_->setObjectName(QStringLiteral("ddeTopic"));
    doubleClick_->setObjectName(QStringLiteral("doubleClick"));
    fileDrop_->setObjectName(QStringLiteral("fileDrop"));
    girlDisabled_->setObjectName(QStringLiteral("GirlDisabled"));

    for (const BrowserPreset& preset : BrowserPresets()) {
        preset_->addItem(ToQString(preset.name));
    }
    preset_->setCurrentIndex(std::clamp(settings.browser.preset, 0, preset_->count() - 1));
    (settings.browser.defShell ? defShell_ : details_)->setChecked(true);
    ddeUse_->setChecked(settings.browser.ddeUse);
    doubleClick_->addItems({QStringLiteral("アイテム編集"), QStringLiteral("ブラウザ起動")});
    doubleClick_->setCurrentIndex(std::clamp(settings.doubleClick, 0, 1));
    fileDrop_->addItems({QStringLiteral("新規に開く(複数不可)"), QStringLiteral("新しいウインドウで開く"),
        QStringLiteral("編集ファイルへマージ")});
    fileDrop_->setCurrentIndex(std::clamp(settings.fileDrop, 0, 2));
    girlDisabled_->setChecked(settings.mainWindow.girlDisabled);

    auto* editorBrowse = new QPushButton(QStringLiteral("参照..."));
    editorBrowse->setObjectName(QStringLiteral("editorReff"));
    const auto chooseProgram = [this](QLineEdit* field) {
        if (const std::optional<QString> program = files_.OpenFile(this, QStringLiteral("ブラウザの選択"), QString())) {
            field->setText(*program);
        }
    };
    connect(editorBrowse, &QPushButton::clicked, this, [this, chooseProgram] { chooseProgram(editor_); });
    connect(browse_, &QPushButton::clicked, this, [this, chooseProgram] { chooseProgram(appPath_); });

    auto* browser = new QGroupBox(QStringLiteral("ブラウザ"));
    auto* browserLayout = new QFormLayout(browser);
    browserLayout->addRow(defShell_);
    browserLayout->addRow(details_);
    browserLayout->addRow(QStringLiteral("プリセット"), preset_);
    browserLayout->addRow(ddeUse_);
    browserLayout->addRow(QStringLiteral("プログラム"), FieldRow(appPath_, {browse_}));
    browserLayout->addRow(QStringLiteral("サービス"), ddeService_);
    browserLayout->addRow(QStringLiteral("トピック"), ddeTopic_);
    auto* programs = new QWidget;
    auto* programsLayout = new QVBoxLayout(programs);
    auto* editorForm = new QFormLayout;
    editorForm->addRow(QStringLiteral("テキストエディタ"), FieldRow(editor_, {editorBrowse}));
    programsLayout->addLayout(editorForm);
    programsLayout->addWidget(browser);
    programsLayout->addStretch();
    auto* ui = new QWidget;
    auto* uiLayout = new QFormLayout(ui);
    uiLayout->addRow(QStringLiteral("リンクアイテム一覧でのダブルクリック"), doubleClick_);
    uiLayout->addRow(QStringLiteral("メインフォームへのドラッグ＆ドロップ"), fileDrop_);
    uiLayout->addRow(girlDisabled_);
    auto* tabs = new QTabWidget;
    tabs->addTab(programs, QStringLiteral("外部プログラム"));
    tabs->addTab(ui, QStringLiteral("ユーザインターフェイス"));

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("決定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BtnOk"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    QPushButton* helpButton = buttons->addButton(QStringLiteral("ヘルプ(&H)"), QDialogButtonBox::HelpRole);
    connect(helpButton, &QPushButton::clicked, this, [this] { ShowHelp(this, help::kOptions); });
    SetHelpTopic(this, help::kOptions);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    for (QRadioButton* radio : {defShell_, details_}) {
        connect(radio, &QRadioButton::toggled, this, &TForm_Options::UpdateEnabling);
    }
    connect(ddeUse_, &QCheckBox::toggled, this, &TForm_Options::UpdateEnabling);
    connect(preset_, &QComboBox::activated, this, &TForm_Options::ChoosePreset);
    UpdateEnabling();
    resize(520, 380);
}

void TForm_Options::ChoosePreset(int preset)
{
    const std::vector<BrowserPreset>& presets = BrowserPresets();
    if (preset >= 0 && preset < 2) {
        const BrowserPreset& chosen = presets[static_cast<std::size_t>(preset)];
        appPath_->setText(ToQString(chosen.program));
        ddeService_->setText(ToQString(chosen.ddeService));
        ddeTopic_->setText(ToQString(chosen.ddeTopic));
    }
    UpdateEnabling();
}

void TForm_Options::UpdateEnabling()
{
    const bool detailed = details_->isChecked();
    const bool any = preset_->currentIndex() == 2;
    preset_->setEnabled(detailed);
    ddeUse_->setEnabled(detailed);
    appPath_->setEnabled(detailed && any);
    browse_->setEnabled(detailed && any);
    ddeService_->setEnabled(detailed && any && ddeUse_->isChecked());
    ddeTopic_->setEnabled(detailed && any && ddeUse_->isChecked());
}

AppSettings TForm_Options::Settings() const
{
    AppSettings settings = settings_;
    settings.editorPath = ToSjisOrEmpty(editor_->text());
    settings.browser.defShell = defShell_->isChecked();
    settings.browser.preset = preset_->currentIndex();
    settings.browser.ddeUse = ddeUse_->isChecked();
    settings.browser.appPath = ToSjisOrEmpty(appPath_->text());
    settings.browser.ddeService = ToSjisOrEmpty(ddeService_->text());
    settings.browser.ddeTopic = ToSjisOrEmpty(ddeTopic_->text());
    settings.doubleClick = doubleClick_->currentIndex();
    settings.fileDrop = fileDrop_->currentIndex();
    settings.mainWindow.girlDisabled = girlDisabled_->isChecked();
    return settings;
}

} // namespace tessaly
