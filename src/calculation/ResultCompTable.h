#pragma once
// Two calculations of the same quantity for the same target side by side: column 0 the result of
// the second energy result set, column 1 that of the first (the selected one). By RPM one entry
// per RPM of the first result (bands by the two columns); by order one entry per order of the
// first result (RPMs by the two columns, each the level in the band of the order frequency).
// A cell the second result lacks holds HUGE_VAL.
#include <memory>
#include <string>

class CMElement;
class COctaveManager;
class CZuOTFunc;
class CZuRpmMultiVecFunc;

class CResultCompTable
{
public:
    // Element kinds of the tables: vibration level and SPL.

    struct Columns
    {
        std::string second; // column 0
        std::string first;  // column 1
    };

    // first and second: an SPL or vibration level over RPM. Null when either is not one.
    static std::unique_ptr<CZuRpmMultiVecFunc> BuildRpm(const CMElement* first, const CMElement* second,
                                                        const Columns& columns);
    static std::unique_ptr<CZuRpmMultiVecFunc> BuildOrder(const CZuOTFunc* first, const CZuOTFunc* second,
                                                          const Columns& columns, double factor,
                                                          const COctaveManager* bands);

    // "%s(%s)" of a result set and its analysis project.
    static std::string ColumnName(const std::string& resultSet, const std::string& project);
};
