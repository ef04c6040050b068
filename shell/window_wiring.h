#pragma once
// Every window folder's menu commands connected to the main window, in the
// order the program uses at start-up; also the time window's clock-setting
// button. Called once after the main window is built.
class MDIForm1;

void Collega_Tutte_Le_Finestre(MDIForm1& main);
