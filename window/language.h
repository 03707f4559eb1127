#pragma once

// The window speaks the user's language where a translation of it is built
// in, and English, the language it is written in, everywhere else.

class QCoreApplication;
class QString;

namespace window
{

// Installs, for the application's lifetime, the translation for the first of
// the user's languages (LANGUAGE, then LC_ALL, LC_MESSAGES and LANG) that this
// program has, together with Qt's own for that language where it is installed.
// A user who names English before any translated language gets English, and
// so does the C locale. Returns the language installed, or an empty text.
QString InstallTranslations(QCoreApplication &app);

} // namespace window
