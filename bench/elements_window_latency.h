#pragma once

#include <QStringList>

// qorchangesbench --elements [--size MB] [--plant N] [--plant-size MB] [--busy THREADS]
// [--dir DIR]: the Elements window's figures (elements_window_latency.cpp); the process's
// exit status.
int runElementsBench(const QStringList& arguments);
