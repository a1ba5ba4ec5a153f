// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A history generated from a seed that reads like a Polish personal account's: the salary from
// the same employer each month, rent and utilities, card payments and cash in Polish towns,
// transfers to and from people, fees and interest. Every kind of the classification table
// occurs once an account has as many operations as there are kinds; texts carry Polish letters,
// quotes and apostrophes, and one title is longer than the module keeps.

#include <cstdint>
#include <random>
#include <string>

#include "BankData.h"

struct GeneratorSettings {
    uint32_t seed = 1;
    int accounts = 2;
    int operations = 150;    // per account
    int days = 365;          // every operation lies within this many days up to today
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
    std::string randomDigits(int count);
    static std::string AccountName(int index);

    GeneratorSettings m_settings;
    std::mt19937 m_random;
};
