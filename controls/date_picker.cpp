#include "controls/date_picker.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>

#include <functional>
#include <limits>
#include <utility>
#include <vector>

namespace {

// The field's text line: it notes the part under the pointer where the left
// button goes down, as the text stands then, and says when the click has
// ended, after it has placed its cursor.
class RigaCampo : public QLineEdit {
public:
    RigaCampo(std::function<int(int)> parteSotto, std::function<void(int)> dopoClic)
        : m_parteSotto(std::move(parteSotto)), m_dopoClic(std::move(dopoClic))
    {
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_parte = m_parteSotto(qRound(event->position().x()));
        QLineEdit::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLineEdit::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            m_dopoClic(std::exchange(m_parte, -1));
    }

private:
    std::function<int(int)> m_parteSotto;
    std::function<void(int)> m_dopoClic;
    int m_parte = -1;
};

} // namespace

DateTimePicker::DateTimePicker(QWidget* parent) : QDateTimeEdit(parent)
{
    setLineEdit(new RigaCampo([this](int x) { return Parte_Sotto(x); },
                              [this](int parte) { Seleziona_Parte(parte); }));
}

int DateTimePicker::Parte_Sotto(int x) const
{
    const QLineEdit* riga = lineEdit();
    const QString testo = riga->text();
    if (testo.isEmpty() || isRightToLeft())
        return -1;
    // The parts shown are the runs of digits and letters ("07", "Dec",
    // "2026"), the blanks and signs between them the separators. A text
    // that does not split so (a name with a blank in it) is left to Qt.
    struct Parte {
        int inizio, fine;
    };
    std::vector<Parte> parti;
    for (int k = 0; k < testo.size(); ++k) {
        if (!testo[k].isLetterOrNumber())
            continue;
        if (parti.empty() || parti.back().fine < k)
            parti.push_back({k, k + 1});
        else
            parti.back().fine = k + 1;
    }
    if (int(parti.size()) != sectionCount())
        return -1;
    // The x of the gap before character k, from that of the cursor.
    const QFontMetrics fm(riga->font());
    const int cursore = riga->cursorPosition();
    const int x0 = qRound(riga->inputMethodQuery(Qt::ImCursorRectangle).toRectF().center().x())
        - fm.horizontalAdvance(testo.left(cursore));
    const auto xDi = [&](int k) { return x0 + fm.horizontalAdvance(testo.left(k)); };
    // The part the pointer is over, or the nearest; of two as near, the
    // later.
    int scelta = -1;
    int distanza = std::numeric_limits<int>::max();
    for (int i = 0; i < int(parti.size()); ++i) {
        const int sinistra = xDi(parti[size_t(i)].inizio);
        const int destra = xDi(parti[size_t(i)].fine);
        const int d = x < sinistra ? sinistra - x : x > destra ? x - destra : 0;
        if (d <= distanza) {
            distanza = d;
            scelta = i;
        }
        if (d == 0)
            break;
    }
    return scelta;
}

void DateTimePicker::Seleziona_Parte(int parte)
{
    // What the user selected by dragging stays selected.
    if (lineEdit()->hasSelectedText())
        return;
    if (parte >= 0 && parte < sectionCount() && parte != currentSectionIndex())
        setCurrentSectionIndex(parte);
    if (currentSection() == NoSection)
        return;
    setSelectedSection(currentSection());
}
