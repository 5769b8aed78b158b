#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

#include "MainWindowHarness.h"
#include "core/collection/Project.h"
#include "gui/options/dlgProjectOption.h"
#include "core/settings/SettingsStore.h"

using namespace tessaly;
using test::Click;
using test::Harness;
using test::OnNextDialog;
using test::Shown;

namespace {

QLineEdit* Field(QWidget* dialog, const char* name)
{
    return dialog->findChild<QLineEdit*>(name);
}

} // namespace

class DesignDialogsTests : public QObject {
    Q_OBJECT

private slots:
    // The checks of OK, each taking the user to its tab and field, then the
    // options stored trimmed and the window's title following them.
    void projectOptionsCheckInOrder()
    {
        QTemporaryDir site;
        Harness h;
        h.Open();
        h.messages.SetNextAnswer(MessageButton::Retry); // name without reading
        h.messages.SetNextAnswer(MessageButton::Retry); // katakana reading
        h.messages.SetNextAnswer(MessageButton::Retry); // missing root
        h.messages.SetNextAnswer(MessageButton::Yes); // fill index.html
        const QString root = site.path();
        OnNextDialog<TForm_ProjectOption>([root](TForm_ProjectOption* dialog) {
            QCOMPARE(dialog->Tabs()->count(), 5);
            QCOMPARE(dialog->Tabs()->tabText(2), QStringLiteral("ディレクトリ・ファイル名"));
            Field(dialog, "Edit_Title")->setText(QStringLiteral("  新しい題  "));
            Field(dialog, "Edit_Name")->setText(QStringLiteral("管理人"));
            Field(dialog, "Edit_NameKana")->clear();
            Click(dialog, "Button1");
            QCOMPARE(dialog->Tabs()->currentIndex(), 1);
            QCOMPARE(dialog->focusWidget(), static_cast<QWidget*>(Field(dialog, "Edit_NameKana")));
            Field(dialog, "Edit_NameKana")->setText(QStringLiteral("カンリニン"));
            Click(dialog, "Button1");
            QCOMPARE(dialog->Tabs()->currentIndex(), 1);
            Field(dialog, "Edit_NameKana")->setText(QStringLiteral("かんりにん"));
            Field(dialog, "Edit_Root")->setText(root + QStringLiteral("/missing"));
            Click(dialog, "Button1");
            QCOMPARE(dialog->Tabs()->currentIndex(), 2);
            QCOMPARE(dialog->focusWidget(), static_cast<QWidget*>(Field(dialog, "Edit_Root")));
            Field(dialog, "Edit_Root")->setText(root);
            Field(dialog, "Edit_Banner")->setText(root);
            Field(dialog, "Edit_Default")->clear();
            dialog->findChild<QCheckBox*>("CheckBox_Default")->setChecked(true);
            Click(dialog, "Button1");
        });
        h.Action("MM_ProjectOption")->trigger();
        const Project& project = h.window->CurrentProject();
        QCOMPARE(Shown(project.Title), QStringLiteral("新しい題"));
        QCOMPARE(project.DefaultFile, std::string("index.html"));
        QCOMPARE(Shown(project.RootDir), root);
        QVERIFY(h.window->IsEditing());
        QVERIFY(h.window->windowTitle().startsWith(QStringLiteral("新しい題 ")));
        QCOMPARE(Shown(h.settings.ReadString(kOwnerDefaultsKey, "NameKana").value_or("")), QStringLiteral("かんりにん"));
        QCOMPARE(h.messages.shown.size(), std::size_t{4});
        QCOMPARE(Shown(h.messages.shown[0].text), QStringLiteral("管理者の名前と名前(かな)は対で入力して下さい."));
        QCOMPARE(Shown(h.messages.shown[2].text), QStringLiteral("ルートディレクトリが見付かりません."));
    }

    // The publishing tab: a bad address takes the user back to it; the
    // options are stored with the address in its usual form.
    void projectOptionsPublishing()
    {
        Harness h;
        h.Open();
        h.messages.SetNextAnswer(MessageButton::Retry);
        OnNextDialog<TForm_ProjectOption>([](TForm_ProjectOption* dialog) {
            QCOMPARE(dialog->Tabs()->tabText(4), QStringLiteral("公開"));
            dialog->findChild<QComboBox*>("PageEncoding")->setCurrentIndex(1);
            dialog->findChild<QCheckBox*>("SiteSearch")->setChecked(true);
            dialog->findChild<QCheckBox*>("Feed")->setChecked(true);
            dialog->findChild<QSpinBox*>("FeedCount")->setValue(20);
            Field(dialog, "BaseUrl")->setText(QStringLiteral("example.jp/~hanako"));
            Field(dialog, "PublishCommand")->setText(QStringLiteral("git -C \"$TESSALY_ROOT\" push"));
            dialog->Tabs()->setCurrentIndex(0);
            Click(dialog, "Button1");
            QCOMPARE(dialog->Tabs()->currentIndex(), 4);
            QCOMPARE(dialog->focusWidget(), static_cast<QWidget*>(Field(dialog, "BaseUrl")));
            Field(dialog, "BaseUrl")->setText(QStringLiteral(" https://Example.jp/~hanako "));
            Click(dialog, "Button1");
        });
        h.Action("MM_ProjectOption")->trigger();
        const SitePublishing& publishing = h.window->CurrentProject().Publishing;
        QCOMPARE(publishing.pageEncoding, PageEncoding::Utf8);
        QVERIFY(publishing.siteSearch && !publishing.sitemap);
        QCOMPARE(publishing.feedCount, 20);
        QCOMPARE(publishing.baseUrl, std::string("https://example.jp/~hanako/"));
        QCOMPARE(publishing.publishCommand, std::string("git -C \"$TESSALY_ROOT\" push"));
        QVERIFY(h.window->IsEditing());
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
    }

    void projectOptionsCancelChangesNothing()
    {
        Harness h;
        h.Open();
        const std::string title = h.window->CurrentProject().Title;
        OnNextDialog<TForm_ProjectOption>([](TForm_ProjectOption* dialog) {
            Field(dialog, "Edit_Title")->setText(QStringLiteral("捨てる題"));
            Click(dialog, "Button2");
        });
        h.Action("MM_ProjectOption")->trigger();
        QCOMPARE(h.window->CurrentProject().Title, title);
        QVERIFY(!h.window->IsEditing());
    }

    // Asked for the root before a design, the options open with the
    // cursor in its field.
    void rootQuestionOpensTheRootField()
    {
        Harness h;
        h.Open();
        h.window->CurrentProject().RootDir.clear();
        h.window->CurrentProject().EditingName.clear();
        h.messages.SetNextAnswer(MessageButton::Yes); // set it here
        h.messages.SetNextAnswer(MessageButton::No); // asked again after Cancel
        bool shown = false;
        OnNextDialog<TForm_ProjectOption>([&shown](TForm_ProjectOption* dialog) {
            shown = true;
            QCOMPARE(dialog->Tabs()->currentIndex(), 2);
            QCOMPARE(dialog->focusWidget(), static_cast<QWidget*>(Field(dialog, "Edit_Root")));
            Click(dialog, "Button2");
        });
        h.Action("MM_ProjectSimpleDesign")->trigger();
        QVERIFY(shown);
    }

    // The browse buttons start where the fields point, else at the project's
    // folder, and fill their fields.
    void projectOptionsBrowse()
    {
        QTemporaryDir site;
        Harness h;
        h.Open();
        const QString projectFolder = QFileInfo(test::kExample).absolutePath();
        h.files.starts.clear();
        h.files.SetNextFile(site.path());
        h.files.SetNextFile(site.path() + QStringLiteral("/top"));
        OnNextDialog<TForm_ProjectOption>([](TForm_ProjectOption* dialog) {
            Field(dialog, "Edit_Root")->clear();
            Field(dialog, "ParentPath")->setText(QStringLiteral("top/index.html")); // below the root: not there
            Click(dialog, "Button_Root");
            Click(dialog, "Button_TopDirectory");
            Click(dialog, "Button2");
        });
        h.Action("MM_ProjectOption")->trigger();
        QCOMPARE(h.files.starts.value(0), projectFolder);
        QCOMPARE(h.files.starts.value(1), site.path()); // the root chosen just before
    }
};

QTEST_MAIN(DesignDialogsTests)
#include "DesignDialogsTests.moc"
