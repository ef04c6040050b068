#include "common/main_window_link.h"

namespace {
MainWindowLink* g_link = nullptr;
}

MainWindowLink::MainWindowLink()
{
    g_link = this;
}

MainWindowLink::~MainWindowLink()
{
    if (g_link == this)
        g_link = nullptr;
}

MainWindowLink* MainWindowLink::instance()
{
    return g_link;
}

QWidget* MainWindowLink::window()
{
    return g_link ? g_link->asWidget() : nullptr;
}
