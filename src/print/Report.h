#pragma once

#include "support/Failure.h"

class PageScript;
class WorkingCopy;

// Writes the one-page settings report into the script, replacing what it held: the
// page header, the titles and function settings (centred, "Arial" bold) and every cell
// of the channel table, titles row included ("宋体" 12 bold, 0.5 cm a row from 7 cm, the
// columns from 5 cm to 18.2 cm so all eight end inside the page's 1 cm margin). Texts are taken as the lists and the band label show them.
// A centred text too wide for its centre is dropped with the script's notice; the
// rest is written. Fails only when the script file cannot be written.
Status writeReport(const PageScript &script, const WorkingCopy &wc);
