#include "core/services/translators.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <clocale>

namespace qor::services {

Translators::Translators(const QLocale& locale) {
    // LANGUAGE may still name a language when LC_ALL=C asks for none: C means English.
    if (locale.language() == QLocale::C) {
        return;
    }
    own_ = program_.load(locale, QStringLiteral("qorreader"), QStringLiteral("_"),
                         QStringLiteral(":/i18n")) &&
           QCoreApplication::installTranslator(&program_);
    qt_ = toolkit_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
          QCoreApplication::installTranslator(&toolkit_);
}

Translators::~Translators() {
    if (own_) {
        QCoreApplication::removeTranslator(&program_);
    }
    if (qt_) {
        QCoreApplication::removeTranslator(&toolkit_);
    }
}

void keepCNumberFormat() {
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace qor::services
