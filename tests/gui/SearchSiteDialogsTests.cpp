#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

#include <filesystem>

#include "gui/GuiText.h"
#include "MainWindowHarness.h"
#include "core/collection/Project.h"
#include "gui/searchsite/dlgOssSupport.h"
#include "gui/searchsite/dlgOutputDIZ.h"
#include "support/TempDir.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/EucJp.h"
#include "core/tools/SearchData.h"
#include "core/tools/SearchForms.h"

using namespace tessaly;
using test::Click;
using test::Harness;
using test::OnNextDialog;
namespace fs = std::filesystem;

namespace {

QComboBox* List(QWidget* dialog, const char* name)
{
    return dialog->findChild<QComboBox*>(name);
}

QString Clipboard()
{
    return QApplication::clipboard()->text();
}

// The example opened with a user genre shown, so that its rows are part of
// the search data.
struct OpenExample : Harness {
    OpenExample()
    {
        Open();
        Genres()->setCurrentRow(1);
    }
    // Runs the form builder, acting on it while it is open.
    void Build(std::function<void(TForm_OssSupport*)> act)
    {
        OnNextDialog<TForm_OssSupport>(std::move(act));
        Action("MM_OssSupport")->trigger();
    }
};

// Sets a control of a dialog by its name: a list, a text, a check box,
// a number or a page.
void Set(QWidget* dialog, const char* name, const QVariant& value)
{
    QObject* control = dialog->findChild<QObject*>(name);
    QVERIFY2(control != nullptr, name);
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        list->setCurrentIndex(value.toInt());
    } else if (auto* text = qobject_cast<QLineEdit*>(control)) {
        text->setText(value.toString());
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->setChecked(value.toBool());
    } else if (auto* number = qobject_cast<QSpinBox*>(control)) {
        number->setValue(value.toInt());
    } else if (auto* pages = qobject_cast<QTabWidget*>(control)) {
        pages->setCurrentIndex(value.toInt());
    }
}

// A builder case: the controls to set, the button to press and the
// fragment the core makes of the same choices.
struct CopyCase {
    std::vector<std::pair<const char*, QVariant>> choices;
    const char* button;
    std::function<std::string(const Project&)> expected;
};

} // namespace

class SearchSiteDialogsTests final : public QObject {
    Q_OBJECT

private slots:
    void dizWritesTheChosenTemplateAndOrder_data()
    {
        QTest::addColumn<int>("templateEntry");
        QTest::addColumn<bool>("erase");
        QTest::addColumn<int>("sortBy");
        QTest::addColumn<int>("sortDir");
        QTest::newRow("as the dialog opens") << 0 << false << 0 << 0;
        QTest::newRow("user template, breaks erased, newest first, descending") << 3 << true << 2 << 1;
        QTest::newRow("detailed template, author as written") << 1 << false << 4 << 0;
    }

    // The file is the core's text for the dialog's choices, EUC-JP with LF,
    // and holds the shown genre's unsaved rows.
    void dizWritesTheChosenTemplateAndOrder()
    {
        QFETCH(int, templateEntry);
        QFETCH(bool, erase);
        QFETCH(int, sortBy);
        QFETCH(int, sortDir);
        OpenExample h;
        const std::string edited = SJ("書き換えたタイトル");
        h.window->Shown().Rows().at(0).Title = edited;
        test::TempDir dir;
        const fs::path target = dir / "search.diz";
        h.files.SetNextFile(QString::fromStdString(target.string()));
        OnNextDialog<TForm_OutputDIZ>([&](TForm_OutputDIZ* dialog) {
            Set(dialog, "Template", templateEntry);
            Set(dialog, "CheckErase", erase);
            Set(dialog, "SortBy", sortBy);
            Set(dialog, "SortDir", sortDir);
            Click(dialog, "Button1");
        });
        h.Action("MM_DizOutput")->trigger();

        QCOMPARE(h.files.titles.back(), QStringLiteral("Tessaly Vuzuva Derado Redovi 用データの出力"));
        QVERIFY(h.messages.shown.empty());
        const Project& project = h.window->CurrentProject();
        const DizSettings settings{ItemTemplateNames(project).at(static_cast<std::size_t>(templateEntry)), erase,
            static_cast<uint8_t>(sortBy), static_cast<uint8_t>(sortDir)};
        const std::string written = test::ReadFile(target);
        QVERIFY(written == DizText(project, settings));
        std::string editedEuc;
        AppendEucJp(editedEuc, edited);
        QVERIFY(written.find(editedEuc) != std::string::npos);
    }

    // Cancel in the dialog asks for no file; Cancel in the file dialog
    // writes none.
    void dizCancelWritesNothing()
    {
        OpenExample h;
        const qsizetype asked = h.files.titles.size();
        OnNextDialog<TForm_OutputDIZ>([](TForm_OutputDIZ* dialog) { Click(dialog, "Button2"); });
        h.Action("MM_DizOutput")->trigger();
        QCOMPARE(h.files.titles.size(), asked);

        OnNextDialog<TForm_OutputDIZ>([](TForm_OutputDIZ* dialog) { Click(dialog, "Button1"); });
        h.Action("MM_DizOutput")->trigger(); // the file dialog answers Cancel
        QCOMPARE(h.files.titles.size(), asked + 1);
        QVERIFY(h.messages.shown.empty()); // no attempt to write
    }

    // A target that cannot be written is reported and nothing is left there.
    void dizUnwritableTargetIsReported_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing directory") << QStringLiteral("missing/search.diz");
        QTest::newRow("a directory") << QStringLiteral("folder.diz");
    }

    void dizUnwritableTargetIsReported()
    {
        QFETCH(QString, target);
        OpenExample h;
        test::TempDir dir;
        fs::create_directory(dir / "folder.diz");
        const QString path = QString::fromStdString(dir.Path().string()) + QLatin1Char('/') + target;
        h.files.SetNextFile(path);
        OnNextDialog<TForm_OutputDIZ>([](TForm_OutputDIZ* dialog) { Click(dialog, "Button1"); });
        h.Action("MM_DizOutput")->trigger();
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QCOMPARE(h.messages.shown[0].kind, MessageKind::Error);
        QVERIFY(test::Shown(h.messages.shown[0].text).startsWith(path));
        QVERIFY(fs::is_empty(dir / "folder.diz"));
        QVERIFY(!fs::exists(dir / "missing"));
    }

    // Found items are out of their genres: no search data meanwhile.
    void dizWaitsForTheEndOfASearch()
    {
        OpenExample h;
        h.Action("MM_SearchAll")->trigger();
        QVERIFY(!h.Action("MM_DizOutput")->isEnabled());
        QVERIFY(h.Action("MM_OssSupport")->isEnabled());
        h.Action("MM_SearchExit")->trigger();
        QVERIFY(h.Action("MM_DizOutput")->isEnabled());
    }

    // Each copy button puts the fragment the core makes of the dialog's
    // choices on the clipboard.
    void copyButtonsPutTheFragment()
    {
        using enum TrialChoice;
        const std::vector<CopyCase> cases = {
            {{}, "btnCopy", [](const Project&) { return FormElementHtml({}); }},
            {{{"PathToCGI", "/cgi-bin/tsyoss.cgi"}, {"LumpRange", 3}, {"FormName", "  "}}, "btnCopy",
                [](const Project&) {
                    return FormElementHtml({"/cgi-bin/tsyoss.cgi", "POST", 3, "  "});
                }},
            // The site's own search page: its path and GET come with the target.
            {{{"Target", 1}, {"LumpRange", 2}}, "btnCopy",
                [](const Project&) {
                    FormElementSettings page;
                    page.target = FormTarget::SearchPage;
                    page.lumpRangeEntry = 2;
                    return FormElementHtml(page);
                }},
            {{{"MatrixPages", 1}, {"Target2", 1}}, "btnCopy4",
                [](const Project& p) {
                    ScriptedMatrixSettings page;
                    page.target = FormTarget::SearchPage;
                    return ScriptedMatrixFormHtml(p, page).html;
                }},
            {{{"FormSize", 2}, {"MaxLength", 5}, {"Trial", true}, {"Title", 2}, {"TitleKana", 1}, {"AuthorKana", 1},
                 {"Attribute", 1}, {"Contents", 1}, {"Comment", 1}},
                "btnCopy2",
                [](const Project&) {
                    return StringSearchHtml({2, 5, true, {Visitor, Never, Always, Never, Never, Never, Never}});
                }},
            {{{"GenreSelecter", 2}}, "btnCopy3",
                [](const Project& p) {
                    return GenreFormHtml(p, {GenreOperation::Single, ChoiceElement::RadioButtons, 0});
                }},
            {{{"GenreOperate", 1}, {"GenreSize", 3}}, "btnCopy3",
                [](const Project& p) {
                    return GenreFormHtml(p, {GenreOperation::Or, ChoiceElement::Select, 3});
                }},
            {{{"Matrix", 1}, {"MatrixOperate", 2}, {"MatrixSelecter", 1}}, "btnCopy4",
                [](const Project& p) {
                    return MatrixFormHtml(
                        p, {MatrixNames::Contents, MatrixOperation::Not, ChoiceElement::CheckBoxes, 0});
                }},
            {{{"MatrixOperate", 1}, {"MatrixSize", 2}}, "btnCopy4",
                [](const Project& p) {
                    return MatrixFormHtml(p, {MatrixNames::Attributes, MatrixOperation::Or, ChoiceElement::Select, 2});
                }},
            {{{"MatrixPages", 1}}, "btnCopy4", [](const Project& p) { return ScriptedMatrixFormHtml(p, {}).html; }},
            {{{"MatrixPages", 1}, {"FormName2", "Search"}, {"Matrix2", 0}, {"MultiColumn", 2}}, "btnCopy4",
                [](const Project& p) {
                    return ScriptedMatrixFormHtml(p, {"./tsyoss.cgi", "POST", "Search", MatrixNames::Attributes, 2})
                        .html;
                }},
        };
        OpenExample h;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const CopyCase& c = cases[i];
            QApplication::clipboard()->setText(QStringLiteral("before"));
            h.Build([&c](TForm_OssSupport* dialog) {
                for (const auto& [name, value] : c.choices) {
                    Set(dialog, name, value);
                }
                Click(dialog, c.button);
                Click(dialog, "btnExit");
            });
            const std::string expected = c.expected(h.window->CurrentProject());
            const QByteArray which = "case " + QByteArray::number(static_cast<int>(i));
            QVERIFY2(!expected.empty(), which);
            QVERIFY2(Clipboard() == test::Shown(expected), which);
        }
        QVERIFY(h.messages.shown.empty());
    }

    // A single choice takes no check boxes, an OR no radio buttons; the
    // number of rows is for the multiple list only.
    void genreChoiceFallsBack_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("sizeEnabled");
        QTest::newRow("single, SELECT") << 0 << 0 << 0 << false;
        QTest::newRow("single, check boxes") << 0 << 1 << 0 << false;
        QTest::newRow("single, radio buttons") << 0 << 2 << 2 << false;
        QTest::newRow("OR, SELECT") << 1 << 0 << 0 << true;
        QTest::newRow("OR, check boxes") << 1 << 1 << 1 << false;
        QTest::newRow("OR, radio buttons") << 1 << 2 << 0 << true;
    }

    void genreChoiceFallsBack()
    {
        QFETCH(int, operation);
        QFETCH(int, element);
        QFETCH(int, shown);
        QFETCH(bool, sizeEnabled);
        OpenExample h;
        h.Build([&](TForm_OssSupport* dialog) {
            Set(dialog, "GenreOperate", operation);
            Set(dialog, "GenreSelecter", element);
            QCOMPARE(List(dialog, "GenreSelecter")->currentIndex(), shown);
            QCOMPARE(List(dialog, "GenreSize")->isEnabled(), sizeEnabled);
        });
    }

    // The trial lists follow their check box and the matrix rows the SELECT;
    // a change of the genre operation applies its rules to the element.
    void otherEnablingRules()
    {
        OpenExample h;
        h.Build([](TForm_OssSupport* dialog) {
            const char* trials[] = {"Title", "TitleKana", "Author", "AuthorKana", "Attribute", "Contents", "Comment"};
            for (bool on : {false, true, false}) {
                Set(dialog, "Trial", on);
                for (const char* trial : trials) {
                    QVERIFY2(List(dialog, trial)->isEnabled() == on, trial);
                }
            }
            for (int element : {1, 0}) {
                Set(dialog, "MatrixSelecter", element);
                QCOMPARE(List(dialog, "MatrixSize")->isEnabled(), element == 0);
            }
            Set(dialog, "GenreSelecter", 2);
            Set(dialog, "GenreOperate", 1);
            QCOMPARE(List(dialog, "GenreSelecter")->currentIndex(), 0);
            QVERIFY(List(dialog, "GenreSize")->isEnabled());
            Set(dialog, "GenreSelecter", 1);
            Set(dialog, "GenreOperate", 0);
            QCOMPARE(List(dialog, "GenreSelecter")->currentIndex(), 0);
            QVERIFY(!List(dialog, "GenreSize")->isEnabled());
        });
    }

    // The scripted matrix refuses to copy what the script could not use:
    // the warning the core gives, and the clipboard is left alone.
    void scriptedMatrixWarns_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("formName");
        QTest::addColumn<int>("names");
        QTest::addColumn<bool>("noAttributes");
        QTest::addColumn<bool>("noContents");
        QTest::newRow("blank path") << QStringLiteral(" ") << QStringLiteral("TSYOSS") << 2 << false << false;
        QTest::newRow("blank form name") << QStringLiteral("./tsyoss.cgi") << QStringLiteral("  ") << 2 << false
                                         << false;
        QTest::newRow("no attributes") << QStringLiteral("./tsyoss.cgi") << QStringLiteral("TSYOSS") << 0 << true
                                       << false;
        QTest::newRow("both, no contents")
            << QStringLiteral("./tsyoss.cgi") << QStringLiteral("TSYOSS") << 2 << false << true;
    }

    void scriptedMatrixWarns()
    {
        QFETCH(QString, path);
        QFETCH(QString, formName);
        QFETCH(int, names);
        QFETCH(bool, noAttributes);
        QFETCH(bool, noContents);
        OpenExample h;
        Project& project = h.window->CurrentProject();
        if (noAttributes) {
            project.Attributes.clear();
        }
        if (noContents) {
            project.Contents.clear();
        }
        QApplication::clipboard()->setText(QStringLiteral("before"));
        h.Build([&](TForm_OssSupport* dialog) {
            Set(dialog, "MatrixPages", 1);
            Set(dialog, "PathToCGI2", path);
            Set(dialog, "FormName2", formName);
            Set(dialog, "Matrix2", names);
            Click(dialog, "btnCopy4");
            QVERIFY(dialog->isVisible());
        });
        const ScriptedMatrixResult expected = ScriptedMatrixFormHtml(
            project, {ToSjisOrEmpty(path), "POST", ToSjisOrEmpty(formName), static_cast<MatrixNames>(names), 3});
        QVERIFY(!expected.warning.empty());
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QCOMPARE(h.messages.shown[0].kind, MessageKind::Warning);
        QCOMPARE(h.messages.shown[0].buttons.Bits(), MessageButtons(MessageButton::Ok).Bits());
        QVERIFY(h.messages.shown[0].text == expected.warning);
        QCOMPARE(Clipboard(), QStringLiteral("before"));
    }
};

QTEST_MAIN(SearchSiteDialogsTests)
#include "SearchSiteDialogsTests.moc"
