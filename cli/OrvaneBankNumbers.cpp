#include "cli/OrvaneBankNumbers.h"

#include "cli/OrvaneCliError.h"
#include "device/TLBankRange.h"

#include <QStringList>

#include <algorithm>

int OrvaneBankNumbers::one(const QString& text)
{
    bool number = false;
    const int bank = text.trimmed().toInt(&number) - 1;
    if (!number || !TLBankRange::isBank(bank))
        throw OrvaneCliError::usage("bank \"" + text.toStdString() + "\": banks are numbered 1 to 7");
    return bank;
}

std::vector<int> OrvaneBankNumbers::list(const QString& text)
{
    std::vector<int> banks;
    for (const QString& item : text.split(',')) {
        const QStringList ends = item.split('-');
        if (ends.size() > 2)
            throw OrvaneCliError::usage("banks \"" + text.toStdString() + "\": write them as 1,3-5");
        const int first = one(ends.front());
        const int last = one(ends.back());
        for (int bank = first; bank <= last; ++bank)
            if (std::find(banks.begin(), banks.end(), bank) == banks.end())
                banks.push_back(bank);
        if (last < first)
            throw OrvaneCliError::usage("banks \"" + item.toStdString() + "\": a range runs upwards");
    }
    return banks;
}
