#pragma once

#include <QLocale>
#include <QString>
#include <memory>

class QTranslator;

// Qt's own texts (the file and folder dialogs, the standard buttons, the
// text fields' context menu) in the user's language. Qt writes them in
// English and keeps their translations in catalogues named
// "qtbase_<language>.qm"; the program's own texts are Japanese already and
// are not touched. The translator stays installed while this object lives.
class QtTranslations {
public:
    // The catalogues are looked for in `folder`: Qt's translations folder
    // unless a test names another.
    QtTranslations();
    explicit QtTranslations(QString folder);
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Installs Qt's catalogue for `locale` into the application, in place
    // of the one installed before. True when it did; false for an English
    // locale (and the C locale), whose texts Qt has already, and when there
    // is no catalogue for the locale's languages.
    [[nodiscard]] bool install(const QLocale& locale);

private:
    void remove();

    QString m_folder;
    std::unique_ptr<QTranslator> m_translator;
};
