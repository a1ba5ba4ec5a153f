#pragma once

class QCoreApplication;

// Every window speaks Polish whatever LANG says: Polish becomes the default locale (calendars,
// the save dialog) and Qt's own texts ("Tak", "Nie", "Anuluj") come from Qt's Polish
// translation. Our own amounts keep their explicit formatting.
namespace PolishLocale {

// False when Qt's Polish translation is not installed; the locale is Polish either way.
bool install(QCoreApplication& application);

}  // namespace PolishLocale
