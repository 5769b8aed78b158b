#include <filesystem>

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

#include "gui/design/DirectoryDesignEditor.h"
#include "gui/design/DirectoryLinkList.h"
#include "MainWindowHarness.h"
#include "gui/design/SiteDirectoryTree.h"
#include "core/collection/Project.h"
#include "core/design/DirectoryDesign.h"
#include "gui/design/dlgProjectDesign.h"
#include "gui/design/dlgResSelect.h"
#include "gui/search/frmSqueeze.h"
#include "core/output/OutputRun.h"
#include "support/TempDir.h"
#include "core/templates/TemplateEngine.h"

using namespace tessaly;
using test::Harness;
using test::OnNextDialog;
using test::Shown;
namespace fs = std::filesystem;

namespace {

const fs::path kExpectedSite = fs::path(TESSALY_TEST_DATA_DIR) / "detailed-site";

// The example collection with its site in a fresh directory, and the design
// dialog over it.
struct DesignSession {
    Harness h;
    test::TempDir site;
    std::string root;
    std::unique_ptr<TForm_ProjectDesign> dialog;

    DesignSession()
    {
        h.Open();
        root = site.Path().string() + "/";
        Project& project = h.window->CurrentProject();
        project.RootDir = root;
        project.BannerDir = root + "banner";
        fs::create_directories(site / "banner");
        Reopen();
    }

    void Reopen()
    {
        dialog.reset();
        Project& project = h.window->CurrentProject();
        ProjectDesignSite designSite{project.RootDir, project.BannerDir,
            {project.DefaultFile, project.SubFile, h.clock.Today()}, ItemTemplateNames(project), QString()};
        dialog = std::make_unique<TForm_ProjectDesign>(h.messages, h.files, std::move(designSite),
            SqueezeChoicesOf(project, h.window->Shown().Rows(), h.clock.Today()));
        dialog->show();
    }

    SiteDirectoryTree* Tree() const { return dialog->Tree(); }
    QTreeWidgetItem* Node(const char* path) const { return Tree()->NodeOf(root + path); }
    void Select(QTreeWidgetItem* node) const { Tree()->setCurrentItem(node); }
    template <typename Widget> Widget* Control(const char* name) const { return dialog->findChild<Widget*>(name); }
    QComboBox* Genre() const { return Control<TFrame_Squeeze>("SqueezeFrame")->GenreBox(); }
};

std::string FileText(const fs::path& path)
{
    return test::ReadFile(path);
}

// Every file below expected has the same bytes below actual, and actual
// holds no other files. TESSALY_WRITE_EXPECTED=1 makes actual the expected
// tree (to be checked by eye before it is committed).
void CompareTrees(const fs::path& expected, const fs::path& actual)
{
    if (qEnvironmentVariableIsSet("TESSALY_WRITE_EXPECTED")) {
        fs::remove_all(expected);
        fs::copy(actual, expected, fs::copy_options::recursive);
    }
    std::size_t files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(actual)) {
        if (entry.is_regular_file()) {
            ++files;
            const fs::path relative = fs::relative(entry.path(), actual);
            QVERIFY2(fs::exists(expected / relative), relative.c_str());
            QVERIFY2(FileText(expected / relative) == FileText(entry.path()), relative.c_str());
        }
    }
    std::size_t expectedFiles = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(expected)) {
        expectedFiles += entry.is_regular_file() ? 1U : 0U;
    }
    QCOMPARE(files, expectedFiles);
}

} // namespace

class DetailedDesignTests : public QObject {
    Q_OBJECT

private slots:
    // The tree shows the directories on disk, sorted, without hidden ones
    // and the banner directory, and nothing is selected or written at first.
    void treeFromDisk()
    {
        DesignSession s;
        for (const char* name : {"zeta/inner", "alpha", ".hidden"}) {
            fs::create_directories(s.site / name);
        }
        s.Reopen();
        QTreeWidgetItem* top = s.Tree()->Root();
        QCOMPARE(top->text(0), QStringLiteral("[Root Directory]"));
        QCOMPARE(top->childCount(), 2);
        QCOMPARE(top->child(0)->text(0), QStringLiteral("alpha"));
        QCOMPARE(top->child(1)->text(0), QStringLiteral("zeta"));
        QCOMPARE(top->child(1)->child(0)->text(0), QStringLiteral("inner"));
        QVERIFY(s.Tree()->currentItem() == nullptr);
        s.dialog->close();
        QVERIFY(!fs::exists(s.site / "_design.tsd"));
        QVERIFY(!s.Control<QCheckBox>("Succession")->isEnabled() || s.Tree()->currentItem() == nullptr);
    }

    // A two-level site designed with the mouse: the root links to a genre
    // directory made in the dialog; leaving a directory writes its design;
    // reopening shows the same; the pages come out as expected.
    void designTwoLevelSite()
    {
        DesignSession s;
        s.Select(s.Tree()->Root());
        QVERIFY(!s.Control<QCheckBox>("Succession")->isEnabled());
        QVERIFY(!s.Control<QCheckBox>("Succession")->isChecked());
        s.Control<QLineEdit>("DirTitle")->setText(QStringLiteral("トップ"));
        s.Control<QCheckBox>("LinkOutputs")->setChecked(false);

        test::AnswerNameDialog(QStringLiteral("music"));
        s.dialog->MakeDirectory(s.Tree()->Root());
        QTreeWidgetItem* music = s.Node("music/");
        QVERIFY(music != nullptr);
        QCOMPARE(s.Tree()->currentItem(), music);
        QVERIFY(fs::exists(s.site / "_design.tsd")); // the root was left
        // The new directory starts from its parent's settings.
        QVERIFY(s.Control<QCheckBox>("Succession")->isChecked());
        QVERIFY(s.Control<QCheckBox>("LinkOutputs")->isChecked());
        QVERIFY(s.Control<QLineEdit>("DirTitle")->text().isEmpty());
        QVERIFY(!s.Control<QLineEdit>("Name_Default")->isEnabled());

        s.Control<QLineEdit>("DirTitle")->setText(QStringLiteral("音楽の部屋"));
        s.Genre()->setCurrentIndex(s.Genre()->findText(QStringLiteral("音楽")));
        s.Select(s.Tree()->Root());
        const std::string musicDesign = FileText(s.site / "music/_design.tsd");
        QVERIFY(musicDesign.find(SJ("{genre}=音楽")) != std::string::npos);

        s.dialog->AddAsHyperlink(music);
        s.dialog->AddUnderDirectories();
        const std::vector<DirectoryLink> links = s.dialog->Editor()->LinkList()->Links();
        QCOMPARE(links.size(), std::size_t{2});
        QCOMPARE(Shown(links[0].anchor), QStringLiteral("音楽の部屋"));
        QCOMPARE(links[0].target, std::string("music/index.html"));
        QCOMPARE(links[1], links[0]);
        s.dialog->Editor()->LinkList()->List()->setCurrentItem(
            s.dialog->Editor()->LinkList()->List()->topLevelItem(1));
        s.dialog->Editor()->LinkList()->EraseLinks();
        s.dialog->close();

        // Reopened: the same design, and moving through it rewrites nothing.
        s.Reopen();
        const auto stamp = fs::last_write_time(s.site / "music/_design.tsd");
        const std::string rootDesign = FileText(s.site / "_design.tsd");
        s.Select(s.Node("music/"));
        QCOMPARE(s.Control<QLineEdit>("DirTitle")->text(), QStringLiteral("音楽の部屋"));
        QCOMPARE(s.Genre()->currentText(), QStringLiteral("音楽"));
        s.Select(s.Tree()->Root());
        QCOMPARE(s.Control<QLineEdit>("DirTitle")->text(), QStringLiteral("トップ"));
        QCOMPARE(s.dialog->Editor()->LinkList()->List()->topLevelItemCount(), 1);
        s.dialog->close();
        QCOMPARE(fs::last_write_time(s.site / "music/_design.tsd"), stamp);
        QCOMPARE(FileText(s.site / "music/_design.tsd"), musicDesign);
        QCOMPARE(FileText(s.site / "_design.tsd"), rootDesign);

        struct Quiet final : OutputObserver { } quiet;
        const OutputResult result = RunOutput(s.h.window->CurrentProject(), s.root, s.h.clock, quiet);
        QCOMPARE(static_cast<int>(result.status), static_cast<int>(OutputResult::Status::Finished));
        CompareTrees(kExpectedSite, s.site.Path());
    }

    // The table width must be an integer or a percentage before the
    // selection may leave; a valid one is stored normalised.
    void tableWidthBlocksLeaving()
    {
        DesignSession s;
        fs::create_directories(s.site / "a");
        s.Reopen();
        s.Select(s.Node("a/"));
        s.Control<QLineEdit>("LinkWidth")->setText(QStringLiteral("5%0"));
        s.h.messages.SetNextAnswer(MessageButton::Retry);
        s.Select(s.Tree()->Root());
        QTRY_COMPARE(s.Tree()->currentItem(), s.Node("a/"));
        QVERIFY(s.Node("a/")->isSelected());
        QCOMPARE(s.dialog->Editor()->Pages()->currentIndex(), int(DirectoryDesignEditor::LinksPage));
        QCOMPARE(Shown(s.h.messages.shown.back().text),
            QStringLiteral("テーブル幅の設定が無効です.\r\n整数値もしくは百分率値が必要です."));
        QVERIFY(!fs::exists(s.site / "a/_design.tsd"));
        s.Control<QLineEdit>("LinkWidth")->setText(QStringLiteral("050%"));
        s.Select(s.Tree()->Root());
        QCOMPARE(s.Control<QLineEdit>("LinkWidth")->text(), QString()); // the root's own
        QVERIFY(FileText(s.site / "a/_design.tsd").find("{pagelinkwidth}=50%") != std::string::npos);
    }

    // A count of items per page that the simple design allowed outside the
    // dialog's range survives being looked at.
    void lookingChangesNoDesign()
    {
        DesignSession s;
        TDirectoryDesign design;
        ResetDesign(design, {});
        design.succession = false;
        design.html.divisionCount = 5;
        QVERIFY(WriteDesign(s.root, design).ok);
        const std::string before = FileText(s.site / "_design.tsd");
        fs::create_directories(s.site / "a");
        s.Reopen();
        s.Select(s.Tree()->Root());
        s.Select(s.Node("a/"));
        QCOMPARE(FileText(s.site / "_design.tsd"), before);
    }

    // Rename and delete change the disk first and the tree after; the root
    // cannot be renamed; a deleted directory takes everything below it.
    void directoryOperations()
    {
        DesignSession s;
        fs::create_directories(s.site / "old/deep");
        test::WriteFile(s.site / "old/deep/page.html", "x");
        s.Reopen();
        s.h.messages.SetNextAnswer(MessageButton::Abort);
        s.dialog->RenameDirectory(s.Tree()->Root());
        QCOMPARE(Shown(s.h.messages.shown.back().text), QStringLiteral("ルートディレクトリは変更できません."));

        test::AnswerNameDialog(QStringLiteral("new"));
        s.dialog->RenameDirectory(s.Node("old/"));
        QVERIFY(fs::exists(s.site / "new/deep/page.html"));
        QVERIFY(s.Node("new/deep/") != nullptr);

        // In place, onto a name that is taken: refused, the old name back.
        fs::create_directories(s.site / "taken");
        s.h.messages.SetNextAnswer(MessageButton::Abort);
        s.Node("new/")->setText(0, QStringLiteral("taken"));
        QCOMPARE(Shown(s.h.messages.shown.back().text), QStringLiteral("ディレクトリ名の変更に失敗しました."));
        QVERIFY(s.Node("new/") != nullptr);
        QVERIFY(fs::exists(s.site / "new"));

        s.Select(s.Node("new/deep/"));
        s.h.messages.SetNextAnswer(MessageButton::No);
        s.dialog->DeleteDirectory(s.Node("new/"));
        QVERIFY(fs::exists(s.site / "new"));
        QCOMPARE(Shown(s.h.messages.shown.back().text),
            QStringLiteral("new 以下の全てのディレクトリとファイルを削除します.\r\nよろしいですか？"));
        s.h.messages.SetNextAnswer(MessageButton::Yes);
        s.dialog->DeleteDirectory(s.Node("new/"));
        QVERIFY(!fs::exists(s.site / "new"));
        QVERIFY(s.Node("new/") == nullptr);
        QCOMPARE(s.Tree()->currentItem(), s.Tree()->Root());
    }

    // The link editor refuses empty fields and writes chosen files relative
    // to the directory of the page.
    void linkEditor()
    {
        test::ScriptedMessages messages;
        test::ScriptedFileDialogs files;
        test::TempDir site;
        fs::create_directories(site / "a/b");
        const std::string base = site.Path().string() + "/a/b/";
        TForm_ResSelect editor(messages, files, base);
        messages.SetNextAnswer(MessageButton::Retry);
        messages.SetNextAnswer(MessageButton::Retry);
        test::Click(&editor, "Button1");
        editor.findChild<QLineEdit*>("Anchor")->setText(QStringLiteral("  上へ "));
        test::Click(&editor, "Button1");
        QCOMPARE(messages.shown.size(), std::size_t{2});
        QCOMPARE(Shown(messages.shown[1].text), QStringLiteral("リンクするリソースを指定して下さい."));
        files.SetNextFile(QString::fromStdString(site.Path().string() + "/a/top.html"));
        editor.ChooseFile();
        QCOMPARE(files.starts.back(), QString::fromStdString(base));
        files.SetNextFile(QString::fromStdString(site.Path().string()));
        editor.ChooseDirectory();
        QCOMPARE(editor.Link(), (DirectoryLink{SJ("上へ"), "../../"}));
    }

    // The command opens the dialog only with a root directory and not in
    // the search mode.
    void commandFromTheMainWindow()
    {
        test::TempDir site;
        Harness h;
        h.Open();
        h.window->CurrentProject().RootDir = site.Path().string();
        bool opened = false;
        OnNextDialog<TForm_ProjectDesign>([&opened](TForm_ProjectDesign* dialog) {
            opened = dialog->Tree()->Root() != nullptr;
            dialog->close();
        });
        QAction* command = h.Action("MM_ProjectDetailedDesign");
        QCOMPARE(command->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F8));
        command->trigger();
        QVERIFY(opened);
    }
};

QTEST_MAIN(DetailedDesignTests)
#include "DetailedDesignTests.moc"
