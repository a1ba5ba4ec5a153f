#pragma once
// A plausible history generated from a seed: every kind of the classification table occurs, texts
// carry Polish letters, quotes and apostrophes, and some titles are longer than the module keeps.

#include <cstdint>
#include <random>
#include <string>

#include "BankData.h"

struct GeneratorSettings {
    uint32_t seed = 1;
    int accounts = 2;
    int operations = 150;  // per account
    int days = 365;
    int routing = 19900003;  // digits 3-10 of every account number
    std::string user = "demo";
    std::string password = "demo1234";
};

class DataGenerator {
public:
    explicit DataGenerator(const GeneratorSettings& settings);
    BankData generate();

    // A valid account number (check digits right) for the routing number and a 16-digit rest.
    static std::string MakeNrb(int routing, const std::string& rest16);

private:
    BankOperation makeOperation(int sample);
    std::string randomDigits(int count);
    std::string pick(const char* const* list, size_t size);
    int64_t randomGrosze(int64_t low, int64_t high);

    GeneratorSettings m_settings;
    std::mt19937 m_random;
};
