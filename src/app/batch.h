#pragma once
#include <QStringList>
namespace tolvi {
// True when the arguments ask for a batch run (any option).
bool isBatch(const QStringList& arguments);
int runBatch(const QStringList& arguments);
}
