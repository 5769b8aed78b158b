// Grabs the program's windows with the example collection open, as PNG
// files, so that they can be looked at without a display:
//   QT_QPA_PLATFORM=offscreen tessaly-screenshots OUTPUT_DIRECTORY

#include <QLineEdit>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTabWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

#include "platform/FileAssociation.h"
#include "gui/GuiText.h"
#include "ScriptedFileDialogs.h"
#include "core/collection/ItemMarks.h"
#include "core/collection/Project.h"
#include "gui/design/SiteDirectoryTree.h"
#include "gui/design/dlgProjectDesign.h"
#include "core/templates/TemplateEngine.h"
#include "core/design/SimpleDesign.h"
#include "gui/tools/dlgCSVQuery.h"
#include "gui/items/dlgDateSelect.h"
#include "gui/tools/dlgReplaceDomain.h"
#include "gui/items/dlgLinkItem.h"
#include "gui/publish/dlgLog.h"
#include "gui/main/dlgMain.h"
#include "gui/items/dlgNewAttribute.h"
#include "gui/shell/dlgOptions.h"
#include "gui/searchsite/dlgOssSupport.h"
#include "gui/searchsite/dlgOutputDIZ.h"
#include "gui/publish/dlgProjectOutput.h"
#include "gui/design/dlgProjectSimple.h"
#include "gui/search/dlgSearchDomain.h"
#include "gui/search/dlgSearchProject.h"
#include "gui/search/dlgSearchString.h"
#include "gui/search/frmSqueeze.h"
#include "core/search/SearchMode.h"
#include "core/templates/TemplateList.h"
#include "core/text/Url.h"
#include "gui/linkcheck/dlgLinkCheck.h"
#include "gui/items/dlgLinkItem.h"
#include "gui/linkcheck/LinkResultModel.h"
#include "gui/main/dlgMain.h"
#include "gui/shell/dlgOptions.h"
#include "gui/templates/dlgProjectTemplate.h"
#include "gui/model/dlgStrInput.h"
#include "gui/options/dlgProjectOption.h"
#include "gui/readings/dlgReadingReview.h"
#include "gui/shell/dlgVersion.h"
#include "gui/search/frmSqueeze.h"
#include "core/search/SearchMode.h"
#include "core/settings/SettingsStore.h"
#include "support/RecordingShell.h"
#include "support/ScriptedMessages.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

bool Grab(QWidget& widget, const QDir& output, const char* name)
{
    widget.show();
    QApplication::processEvents();
    return widget.grab().save(output.filePath(QString::fromLatin1(name)));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        qWarning("usage: tessaly-screenshots OUTPUT_DIRECTORY");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(output.path());
    test::ScriptedMessages messages;
    test::ScriptedFileDialogs files;
    MemorySettingsStore settings;
    const SystemClock clock;
    test::RecordingShell shell;
    QTemporaryDir xdg;
    FileAssociation association("/usr/bin/tessaly", xdg.path(), xdg.path());
    TForm_Main window({messages, files, settings, clock, shell, association, {1280, 800, {}, {}}}, {});
    window.resize(1000, 600);
    window.show();
    window.LoadProject(QStringLiteral(TESSALY_EXAMPLES_DIR "/links.TSP"));
    window.findChild<QListWidget*>(QStringLiteral("ListBox_Genre"))->setCurrentRow(1);
    QApplication::processEvents();
    bool saved = window.grab().save(output.filePath(QStringLiteral("main-window.png")));

    // A new, empty collection, as the program first shows itself.
    TForm_Main empty({messages, files, settings, clock, shell, association, {1280, 800, {}, {}}}, {});
    empty.resize(1000, 600);
    saved = Grab(empty, output, "empty-window.png") && saved;

    const Project& project = window.CurrentProject();
    TForm_LinkItem editor(messages, project.Attributes, project.Contents, clock.Today());
    editor.SetLinkItem(window.Shown().Rows().at(1));
    editor.show();
    QApplication::processEvents();
    saved = editor.grab().save(output.filePath(QStringLiteral("item-editor.png"))) && saved;

    TForm_StrInput input(messages, QStringLiteral("ジャンル登録"), QStringLiteral("新規ジャンルを登録します"));
    input.SetText(QStringLiteral("新しいジャンル"));
    input.show();
    QApplication::processEvents();
    saved = input.grab().save(output.filePath(QStringLiteral("string-input.png"))) && saved;
    TForm_Version version(false, false);
    version.show();
    QApplication::processEvents();
    saved = version.grab().save(output.filePath(QStringLiteral("version-window.png"))) && saved;

    TForm_Options options(window.Settings(), files);
    saved = Grab(options, output, "options-dialog.png") && saved;

    const std::vector<std::string> dates = RegisteredDates(project, window.Shown().Rows());
    TForm_DateSelect dateSelect(messages, dates, clock.Today());
    saved = Grab(dateSelect, output, "date-select.png") && saved;
    TForm_NewAttribute newest(messages, dates, clock.Today());
    saved = Grab(newest, output, "newest-attribute.png") && saved;
    const RunSearch none = [](const TSqueeze&) { return false; };
    TForm_SearchString searchString(messages, none);
    saved = Grab(searchString, output, "search-string.png") && saved;
    TForm_SearchDomain searchDomain(messages, none, RegisteredDomains(project));
    saved = Grab(searchDomain, output, "search-domain.png") && saved;
    TForm_SearchProject searchProject(messages, none, SqueezeChoicesOf(project, window.Shown().Rows(), clock.Today()));
    saved = Grab(searchProject, output, "search-project.png") && saved;

    // The detailed design of a small site, its genre directory selected.
    QTemporaryDir designedSite;
    const std::string root = designedSite.path().toStdString() + "/";
    QDir(designedSite.path()).mkpath(QStringLiteral("music/live"));
    QDir(designedSite.path()).mkpath(QStringLiteral("games"));
    ProjectDesignSite designSite{root, root + "banner", {project.DefaultFile, project.SubFile, clock.Today()},
        ItemTemplateNames(project), QString()};
    TForm_ProjectDesign design(
        messages, files, designSite, SqueezeChoicesOf(project, window.Shown().Rows(), clock.Today()));
    design.show();
    design.Tree()->expandAll();
    design.Tree()->setCurrentItem(design.Tree()->NodeOf(root + "music/"));
    saved = Grab(design, output, "detailed-design.png") && saved;
    for (const int page : {1, 2}) {
        design.findChild<QTabWidget*>(QStringLiteral("PageControl"))->setCurrentIndex(page);
        saved = Grab(design, output, page == 1 ? "detailed-design-pages.png" : "detailed-design-links.png") && saved;
    }
    // The example's first own template, on the body tab.
    TForm_ProjectTemplate templates(messages, QStringLiteral("/usr/bin/gedit"));
    for (const std::string& stored : project.Templates) {
        if (const auto fields = SplitStoredTemplate(stored)) {
            templates.AddTemplate(*fields);
        }
    }
    templates.findChild<QListWidget*>(QStringLiteral("ListBox_Template"))->setCurrentRow(2);
    templates.findChild<QTabWidget*>(QStringLiteral("PageControl_Template"))->setCurrentIndex(1);
    saved = Grab(templates, output, "template-dialog.png") && saved;
    // The example published into a scratch site: the simple design, then
    // the output dialog after its run, in its detailed view, and the log.
    // In the same place every run, so that the pictures change only when
    // the dialogs do.
    const QString siteBase = QDir::tempPath() + QStringLiteral("/tessaly-screenshots");
    const QString site = siteBase + QStringLiteral("/hanako/links");
    QDir(siteBase).removeRecursively();
    QDir().mkpath(site);
    Project& published = window.CurrentProject();
    published.RootDir = ToSjisOrEmpty(site) + "/";
    published.BannerDir.clear();
    TForm_ProjectSimple simple(messages, files, published, clock.Today());
    saved = Grab(simple, output, "simple-design.png") && saved;
    saved = SaveSimpleDesign(simple.Form(), published, clock.Today()).ok && saved;
    TForm_ProjectOutput outputDialog(
        messages,
        [&published, &clock](
            OutputObserver& observer) { return RunOutput(published, published.RootDir, clock, observer); },
        [] {});
    saved = Grab(outputDialog, output, "project-output-compact.png") && saved;
    outputDialog.BtnDetailedClick();
    outputDialog.BtnOutputClick();
    saved = QTest::qWaitFor([&outputDialog] { return !outputDialog.Running(); }, 60000) && saved;
    saved = Grab(outputDialog, output, "project-output.png") && saved;
    TForm_Log log(outputDialog.Log());
    saved = Grab(log, output, "output-log.png") && saved;

    // The link check after a run over the shown genre, with made-up results.
    LinkCheckSetup linkSetup;
    std::vector<std::size_t> allRows(window.Shown().Rows().size());
    std::iota(allRows.begin(), allRows.end(), std::size_t{0});
    linkSetup.scopes = {LinkCheckScope{QStringLiteral("選択したアイテム(&S)"), {}},
        LinkCheckScope{QStringLiteral("表示中のジャンル「ゲーム」(&G)"), ItemsOfRows(window.Shown().Rows(), allRows)},
        LinkCheckScope{QStringLiteral("コレクション全体(&A)"), ItemsOfCollection(project, &window.Shown())}};
    TForm_LinkCheck linkCheck(messages, files, linkSetup, {});
    const ItemLinks links = LinksOfItems(linkSetup.scopes[1].items, project.BannerDir);
    const LinkResult made[] = {LinkResult::Ok, LinkResult::Moved, LinkResult::ClientError, LinkResult::Ok,
        LinkResult::Timeout, LinkResult::DnsFailure, LinkResult::ServerError};
    for (std::size_t i = 0; i < links.links.size(); ++i) {
        LinkCheckResult result;
        result.index = i;
        result.result = made[i % std::size(made)];
        if (result.result == LinkResult::Moved && links.links[i].field == LinkField::Banner) {
            result.result = LinkResult::Ok;
        }
        if (links.toCheck[i].localFile) { // a banner file is there or missing
            result.result = i % 3 == 0 ? LinkResult::Missing : LinkResult::Ok;
        }
        result.code = links.toCheck[i].localFile ? 0
            : result.result == LinkResult::Moved || result.result == LinkResult::Ok ? 200
            : result.result == LinkResult::ClientError                                    ? 404
            : result.result == LinkResult::ServerError                                    ? 503
                                                                                           : 0;
        result.newUrl = result.result == LinkResult::Moved ? "https://" + std::string(UrlHostPart(links.links[i].stored)) : "";
        result.time = std::chrono::milliseconds(120 + 37 * static_cast<int>(i));
        linkCheck.Results().Add(links.links[i], result);
    }
    saved = Grab(linkCheck, output, "link-check.png") && saved;
    TForm_OutputDIZ diz(ItemTemplateNames(project));
    saved = Grab(diz, output, "search-data.png") && saved;
    TForm_OssSupport builder(messages, project);
    auto* builderPages = builder.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    const char* builderShots[] = {"search-form-form.png", "search-form-string.png", "search-form-genre.png",
        "search-form-matrix.png"};
    for (int page = 0; page < 4; ++page) {
        builderPages->setCurrentIndex(page);
        saved = Grab(builder, output, builderShots[page]) && saved;
    }
    builder.findChild<QTabWidget*>(QStringLiteral("MatrixPages"))->setCurrentIndex(1);
    saved = Grab(builder, output, "search-form-scripted.png") && saved;

    // The publishing options of a site put on a static host.
    ProjectOptions publishing = OptionsOf(project);
    publishing.Publishing = {PageEncoding::Utf8, true, kDefaultFeedCount, true, "https://hanako.example.jp/links/",
        "rsync -av --delete \"$TESSALY_ROOT\"/ hanako@host.example.jp:public_html/links/"};
    TForm_ProjectOption optionsDialog(messages, files, publishing, QString(), 0);
    auto* optionTabs = optionsDialog.findChild<QTabWidget*>();
    optionTabs->setCurrentIndex(optionTabs->count() - 1);
    saved = Grab(optionsDialog, output, "options-publish.png") && saved;

    // The review after a bookmark import: two guesses and a partial reading.
    std::vector<ReviewedReading> guesses;
    for (const auto& [title, reading, complete] : {std::tuple{"Piano Room", "ぴあのるうむ", true},
             std::tuple{"星野源オフィシャルサイト", "ほしのげんおふぃしゃるさいと", true},
             std::tuple{"Ｒｅ：ゆる日記", "ゆるにっき", false}}) {
        TLinkItem item;
        item.Title = ToSjisOrEmpty(QString::fromUtf8(title));
        item.TitleKana = ToSjisOrEmpty(QString::fromUtf8(reading));
        item.AuthorKana = item.TitleKana;
        guesses.push_back({item, complete});
    }
    TForm_ReadingReview review(messages, guesses);
    saved = Grab(review, output, "reading-review.png") && saved;

    TForm_CSVQuery csvQuery;
    saved = Grab(csvQuery, output, "csv-query.png") && saved;
    TForm_ReplaceDomain replaceDomain(
        messages, [](const DomainReplaceSettings&) { return std::size_t{0}; },
        [&project] { return RegisteredDomains(project); },
        [&project](const DomainReplaceSettings& replace) { return PreviewDomainReplace(project, replace, 1000); });
    replaceDomain.findChild<QLineEdit*>(QStringLiteral("FindDomain"))->setText(QStringLiteral("example.jp"));
    replaceDomain.findChild<QLineEdit*>(QStringLiteral("ReplaceDomain"))->setText(QStringLiteral("example.net"));
    saved = Grab(replaceDomain, output, "replace-domain.png") && saved;
    QDir(siteBase).removeRecursively();
    return saved ? 0 : 1;
}
