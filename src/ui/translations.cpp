#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/interface_locale.h"

namespace tarnwick::ui {

void LoadToolkitTranslations(QCoreApplication& app) {
    const QLocale locale(
        QString::fromStdString(InterfaceLocale(QLocale::system().name().toStdString())));
    QLocale::setDefault(locale);
    auto* translator = new QTranslator(&app);
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace tarnwick::ui
