#pragma once

class QCoreApplication;

namespace tessara {

// Installs Qt's own Japanese translations (standard buttons, edit context menus, file
// dialogs) from the distribution's translations folder into app, whatever the locale:
// the system speaks Japanese only. Answers how many catalogues were installed; a
// missing catalogue is logged and leaves Qt's English texts.
int InstallQtJapaneseTranslations(QCoreApplication& app);

} // namespace tessara
