#pragma once

#include <QLocale>
#include <QTranslator>

namespace qor::services {

// The translations of one language, installed into the running application for as long as
// this object lives: the program's own texts (built into the program) and Qt's (its standard
// buttons and dialogs, from Qt's translations folder where the system has them). The
// application object must exist first. A language without a translation, and the C locale,
// keep every text English.
class Translators {
public:
    explicit Translators(const QLocale& locale = QLocale::system());
    ~Translators();
    Translators(const Translators&) = delete;
    Translators& operator=(const Translators&) = delete;

    // Whether the program's own texts are translated.
    bool translated() const { return own_; }

private:
    QTranslator program_;
    QTranslator toolkit_;
    bool own_ = false;
    bool qt_ = false;
};

// Puts the C library's number format back to C. The application object takes the C library's
// locale from the environment, and the workbook library prints its numbers with printf: a
// decimal comma would spoil every workbook. Call it right after creating the application.
void keepCNumberFormat();

}  // namespace qor::services
