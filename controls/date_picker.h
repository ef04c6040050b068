// DateTimePicker: the date and time field of the dialogs. Qt's date-time edit
// leaves a click with a bare cursor inside a part (day, month, hours...), so
// that digits typed next are refused or land in the following part; and in a
// blank between two parts it takes the part on the side the cursor came from.
// Here a click selects the part under the pointer, or in a blank the part
// nearer the pointer, whichever part held the cursor before, and the digits
// typed replace it: a click on the day of "17/12/2026" and "09" give the 9th,
// a click in the blanks just before "19:30" and "07" give 07:30. A drag still
// selects what it covers.
#pragma once

#include <QDateTimeEdit>

class DateTimePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit DateTimePicker(QWidget* parent = nullptr);

    // The index of the part under this x of the text line (its own
    // coordinates), or of the part nearer it in a blank; -1 when the text
    // shown cannot be told apart into its parts.
    int Parte_Sotto(int x) const;

private:
    // After a click: part `parte` is selected (without one, the part that
    // holds the cursor).
    void Seleziona_Parte(int parte);
};
