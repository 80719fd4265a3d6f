#pragma once

class QCoreApplication;

namespace tarnwick::ui {

// Qt's own texts (确定, 取消, 是, 否, the file dialogs) in the interface's
// Chinese: the translation of the locale the core chooses for the system's,
// from Qt's translations folder; the default locale follows it.
void LoadToolkitTranslations(QCoreApplication& app);

}  // namespace tarnwick::ui
