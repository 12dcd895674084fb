#pragma once

#include <QString>

class WorkingCopy;

namespace tune {

// What the tune window shows and edits, as plain values.
struct TuneForm
{
    int modelRow = -1; // model on the frequency page, drives the band fields; −1 none
    int powerModelRow = -1; // model on the power page, shown only
    QString high; // high band limit as typed, whole MHz
    QString low; // low band limit as typed, whole MHz
    QString bandText; // the main window's band text when the window opened
    int powerRow = 5; // power step index 0…10 for "-5"…"5"
    int crystal = 0; // 0 "13MHz ", 1 "14.4MHz"
    int sign = 0; // intermediate frequency: 0 "正", 1 "负"
};

struct BandLimits
{
    QString low; // characters 1–3 of the band string
    QString high; // characters 10–12
};

// The limits at their fixed places in a band string such as "400MHz---470MHz".
BandLimits bandLimits(const QString &band);
// low, "MHz---", high, "MHz".
QString bandString(const QString &low, const QString &high);

// Text a limit field accepts while typing: ASCII digits only; the empty text is not a number.
bool isNumberText(const QString &text);
// A limit that can go into a band string: exactly three digits, so the fixed places
// read it back.
bool isCompleteLimit(const QString &text);

// The form for the working copy as it stands: the selected model with its band, the
// band text, the power step and the crystal and sign choices.
TuneForm loadTuneForm(const WorkingCopy &wc);
// The band fields for another model row; other values stay.
void chooseModel(TuneForm &form, const WorkingCopy &wc, int row);

enum class Leave {
    Exit, // "退出调整": the band is also written to the settings file
    CloseBox, // the window closed otherwise: the band holds for this run only
};

struct CommitOutcome
{
    bool bandStored = false; // both limits complete and a model row chosen
    QString key; // settings key of that row, "PL1"…"PL6"
    bool written = false; // the settings file took the band
    QString path; // the settings file written to (Leave::Exit with a band)
};

// Copies the form into the working copy: crystal and sign (choices and crystalCode/ifSignCode),
// the band of the chosen model when both limits are complete (and for Leave::Exit
// into section "Frequent" of the settings file), then the power step. An empty
// settingsPath means settings::writePath(), looked up only when a band is written.
CommitOutcome commitTuneForm(WorkingCopy &wc, const TuneForm &form, Leave how, const QString &settingsPath = {});

} // namespace tune
