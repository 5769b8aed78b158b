#pragma once

// Qt's own texts (standard buttons, file dialogs) in Japanese like every
// other text of the program, whatever the system locale says.

#include <QLibraryInfo>
#include <QString>

class QCoreApplication;

namespace tessaly {

enum class QtTextSource { Translation, ButtonsOnly };

// Installs Qt's Japanese translation and makes Japanese the default locale;
// when the translation is not installed on this system, at least the
// standard buttons are given their Japanese texts.
QtTextSource InstallJapaneseQtTexts(QCoreApplication& application,
    const QString& translationsPath = QLibraryInfo::path(QLibraryInfo::TranslationsPath));

} // namespace tessaly
