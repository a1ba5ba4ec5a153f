#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The names of the operation kinds (t_class) as the program shows them.
class OperationKinds {
public:
    // The main window's "Typ operacji:" items: "Wszystkie", then kinds 1..19 by index.
    static const std::vector<std::u16string>& FilterItems();
    // The name of one kind: the filter's item for 1..19, the bank module's own label for the
    // kinds it sets above 19, empty for 0 (not classified), the number itself for anything else.
    static std::u16string Label(int32_t kind);
};
