#include "gui/QtJapanese.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QTranslator>

namespace tessaly {

namespace {

// The texts Qt gives message boxes and button boxes for their standard buttons.
class StandardButtonTexts final : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        static const QHash<QByteArray, QString> texts{
            {"OK", QStringLiteral("OK")},
            {"Save", QStringLiteral("保存")},
            {"Save All", QStringLiteral("すべて保存")},
            {"Open", QStringLiteral("開く")},
            {"&Yes", QStringLiteral("はい(&Y)")},
            {"Yes to &All", QStringLiteral("すべてにはい(&A)")},
            {"&No", QStringLiteral("いいえ(&N)")},
            {"N&o to All", QStringLiteral("すべてにいいえ(&O)")},
            {"Abort", QStringLiteral("中止")},
            {"Retry", QStringLiteral("再試行")},
            {"Ignore", QStringLiteral("無視")},
            {"Close", QStringLiteral("閉じる")},
            {"Cancel", QStringLiteral("キャンセル")},
            {"Discard", QStringLiteral("破棄")},
            {"Help", QStringLiteral("ヘルプ")},
            {"Apply", QStringLiteral("適用")},
            {"Reset", QStringLiteral("リセット")},
            {"Restore Defaults", QStringLiteral("デフォルトに戻す")},
        };
        if (qstrcmp(context, "QPlatformTheme") != 0) {
            return {};
        }
        return texts.value(QByteArray(sourceText));
    }
};

} // namespace

QtTextSource InstallJapaneseQtTexts(QCoreApplication& application, const QString& translationsPath)
{
    // Dates and sizes in the file dialogs follow the language of the texts.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translation = new QTranslator(&application);
    if (translation->load(QStringLiteral("qtbase_ja"), translationsPath)) {
        QCoreApplication::installTranslator(translation);
        return QtTextSource::Translation;
    }
    delete translation;
    QCoreApplication::installTranslator(new StandardButtonTexts(&application));
    return QtTextSource::ButtonsOnly;
}

} // namespace tessaly
