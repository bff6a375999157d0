#include "gui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <utility>

QtTranslations::QtTranslations()
    : QtTranslations(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
{
}

QtTranslations::QtTranslations(QString folder) : m_folder(std::move(folder)) {}

QtTranslations::~QtTranslations()
{
    remove();
}

bool QtTranslations::install(const QLocale& locale)
{
    remove();
    // Qt's source texts are English: an English catalogue (Qt ships an
    // empty one) would only cost a lookup per text.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return false;
    auto translator = std::make_unique<QTranslator>();
    // Tries the locale's UI languages in turn ("qtbase_ja_JP", then
    // "qtbase_ja" and so on).
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), m_folder))
        return false;
    if (!QCoreApplication::installTranslator(translator.get()))
        return false;
    m_translator = std::move(translator);
    return true;
}

void QtTranslations::remove()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
}
