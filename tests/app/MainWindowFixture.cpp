#include "MainWindowFixture.h"

std::vector<TestOperation> sampleOperations() {
    const auto op = [](const char* name, const char* title, double amount, const QString& own,
                       int tid, int kind, int64_t date) {
        return TestOperation{QStringLiteral("98765"),
                             QString::fromUtf8(name),
                             QString::fromUtf8(title),
                             amount,
                             own,
                             tid,
                             amount > 0 ? 1 : 0,
                             date,
                             date,
                             kind};
    };
    return {
        op("Ślęża Sp. z o.o.", "Wynagrodzenie za luty", 1000, kA, 10, 1, LocalTime(2012, 3, 15)),
        op("Sklep ABC", "Zakupy abc spożywcze", -12.5, kA, 9, 9, LocalTime(2012, 3, 14)),
        op("Operator", "Doładowanie", -100, kA, 8, 13, LocalTime(2012, 3, 1)),
        op("Jan Kowalski", "Zwrot pożyczki", 200, kB, 7, 1, LocalTime(2012, 2, 29)),
        op("Gazownia", "Rachunek za gaz", -50, kB, 6, 2, LocalTime(2012, 2, 1)),
        op("Śnieżka", "Prezent", -30, kA, 5, 3, LocalTime(2011, 12, 31)),
        op("Bank", "Kapitalizacja", 500, kA, 4, 6, LocalTime(2011, 1, 1)),
        op("Urząd", "Znaczek", -20, kB, 3, 4, LocalTime(2010, 6, 15)),
        op("Ktoś", "Nieznane konto", 5, QStringLiteral("99999999999999999999999999"), 2, 0,
           LocalTime(2012, 3, 10)),
    };
}

// Types text key by key, Polish letters included, so that every keystroke filters.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}
