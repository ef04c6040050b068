#pragma once
// The progress window shared by the program's long tasks (reading element
// files, building summaries, listings, the pass search): a task text, a
// progress bar and a Stop button. The window does no work of its own: the
// task shows it, feeds it and closes it.
//
//   frmProgress::Mostra(mLang::Testo_Lingua("frmProgress", "letturasatelliti"), size);
//   for (...) {
//       if (!frmProgress::Passo(done))   // Stop was pressed: the flag is lowered
//           break;
//       ... one step ...
//   }
//   frmProgress::Unload();
//
// Stop only raises the main window's flag pflgArresta; the task finds it at
// its next step. Showing the window for a new task and unloading it both
// lower the flag, so a Stop pressed after a task's last step never stops the
// next task.
#include <QWidget>

class QLabel;
class ProgressBar;
class GraphButton;

class frmProgress : public QWidget {
    Q_OBJECT
public:
    // The one instance; created (hidden) when `create` and not loaded.
    static frmProgress* instance(bool create = true);

    // Shows the window modeless for a new task: task text, the bar's Max
    // (the size of the whole job) with the bar visible, painted at once.
    static frmProgress* Mostra(const QString& task, double max);
    // One step done: sets the bar's value and lets pending window events run
    // (at most every few hundredths of a second, so a long task does not
    // spend its time redrawing). False when Stop was pressed: the flag is
    // lowered again and the task is to stop.
    static bool Passo(double value);
    // Closes the window at the end of the task (or after a stop or failure).
    static void Unload();

    QLabel* lblTask = nullptr;
    ProgressBar* ProgressBar1 = nullptr;
    GraphButton* cmdCancel = nullptr;

    void Form_Load();
    void cmdCancel_Click();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    explicit frmProgress(QWidget* parent = nullptr);
};
