#include "platform/QtTranslations.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tessara {

namespace {
// qtbase holds the widgets' texts; qt_ja only forwards to the modules' catalogues.
constexpr const char* kCatalogues[] = {"qtbase_ja"};
} // namespace

int InstallQtJapaneseTranslations(QCoreApplication& app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    int installed = 0;
    for (const char* name : kCatalogues) {
        // The application owns the translator, so it lives as long as the texts it gives.
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), folder) && QCoreApplication::installTranslator(translator)) {
            ++installed;
        } else {
            Log("Qt translation %s not found in %s: Qt's own texts stay English", name,
                folder.toUtf8().constData());
            delete translator;
        }
    }
    return installed;
}

} // namespace tessara
