#pragma once
// Opening the manual at a window's topic, or saying that it is not there.
class QWidget;

// Shows the help topic of context number `contesto` (the manual's anchor
// "context-N"); when the manual cannot be opened, says so ("nofilehelp").
void Mostra_Aiuto(int contesto, QWidget* owner = nullptr);
