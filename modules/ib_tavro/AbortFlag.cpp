#include "AbortFlag.h"

std::atomic<bool>& AbortFlag() {
    static std::atomic<bool> flag{false};
    return flag;
}
