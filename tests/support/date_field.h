#pragma once
// A user's click on a section of a date field: with the mouse, between the
// first two characters of the section that starts at `posizione` of the text
// shown, where a click lands on the day of "17/12/2026".
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTest>

namespace testsupport {

inline void CliccaSezione(QDateTimeEdit* campo, int posizione)
{
    auto* riga = campo->findChild<QLineEdit*>();
    const int prima = riga->cursorPosition();
    riga->setCursorPosition(posizione + 1);
    const QPoint dove = riga->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    riga->setCursorPosition(prima);
    QTest::mouseClick(riga, Qt::LeftButton, Qt::NoModifier, dove);
}

} // namespace testsupport
