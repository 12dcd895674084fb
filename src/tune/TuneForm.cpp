#include "TuneForm.h"

#include "channels/Tables.h"
#include "channels/WorkingCopy.h"
#include "settings/SettingsFile.h"

namespace tune {

BandLimits bandLimits(const QString &band)
{
    return {band.mid(0, 3), band.mid(9, 3)};
}

QString bandString(const QString &low, const QString &high)
{
    return low + QStringLiteral("MHz---") + high + QStringLiteral("MHz");
}

bool isNumberText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    }
    return true;
}

bool isCompleteLimit(const QString &text)
{
    return text.size() == 3 && isNumberText(text);
}

TuneForm loadTuneForm(const WorkingCopy &wc)
{
    TuneForm form;
    const int row = wc.row(WorkingCopy::List::Model);
    chooseModel(form, wc, row);
    form.powerModelRow = form.modelRow;
    form.bandText = wc.bandText();
    form.powerRow = wc.powerStep();
    form.crystal = wc.crystalChoice();
    form.sign = wc.signChoice();
    return form;
}

void chooseModel(TuneForm &form, const WorkingCopy &wc, int row)
{
    if (row < 0 || row >= int(tables::models.size())) {
        form.modelRow = -1;
        return;
    }
    form.modelRow = row;
    const BandLimits limits = bandLimits(wc.bandStringForModelRow(row));
    form.low = limits.low;
    form.high = limits.high;
}

CommitOutcome commitTuneForm(WorkingCopy &wc, const TuneForm &form, Leave how, const QString &settingsPath)
{
    CommitOutcome out;
    const auto digit = [](int choice) { return choice == 1 ? QStringLiteral("1") : QStringLiteral("0"); };
    wc.setCrystalChoice(form.crystal);
    wc.setCrystalCode(digit(form.crystal));
    wc.setSignChoice(form.sign);
    wc.setIfSignCode(digit(form.sign));

    // A limit of other than three digits would be misread at the fixed places (and
    // kept in the settings file), so such a band is left as it was, like an empty one.
    const bool haveRow = form.modelRow >= 0 && form.modelRow < int(tables::models.size());
    if (haveRow && isCompleteLimit(form.low) && isCompleteLimit(form.high)) {
        const QString band = bandString(form.low, form.high);
        wc.setBandStringForModelRow(form.modelRow, band);
        out.bandStored = true;
        out.key = tables::settingsKeyForModelRow(form.modelRow);
        if (how == Leave::Exit) {
            out.path = settingsPath.isEmpty() ? settings::writePath() : settingsPath;
            out.written = WriteSetting(QStringLiteral("Frequent"), out.key, band, out.path);
        }
    }

    wc.setPowerStep(form.powerRow);
    return out;
}

} // namespace tune
