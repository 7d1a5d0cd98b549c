#pragma once

#include <QString>

#include <cstdint>

// A key with a name; SortedCollection orders these by name.
struct KeyNamePair {
    int32_t Key = 0;
    QString Name;
};
