// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryTables.h"

namespace HistoryTables {
namespace {
constexpr Town kHomeTowns[] = {
    {"Kraków",
     {"Rynek Główny 12", "ul. Karmelicka 9"},
     "Krakowska Energia Wisłanka S.A.",
     "Urząd Skarbowy Kraków-Krowodrza",
     "Urząd Miasta Krakowa"},
    {"Poznań",
     {"Stary Rynek 78", "ul. Półwiejska 42"},
     "Wielkopolska Iskra Energia S.A.",
     "Urząd Skarbowy Poznań-Jeżyce",
     "Urząd Miasta Poznania"},
    {"Gdańsk",
     {"ul. Długa 45", "al. Grunwaldzka 82"},
     "Bursztynowa Energia S.A.",
     "Pierwszy Urząd Skarbowy w Gdańsku",
     "Urząd Miejski w Gdańsku"},
    {"Wrocław",
     {"ul. Świdnicka 40", "pl. Grunwaldzki 22"},
     "Odrzańska Energia S.A.",
     "Urząd Skarbowy Wrocław-Fabryczna",
     "Urząd Miejski Wrocławia"},
    {"Warszawa",
     {"ul. Marszałkowska 104", "al. Jerozolimskie 54"},
     "Stołeczny Prąd S.A.",
     "Urząd Skarbowy Warszawa-Mokotów",
     "Urząd m.st. Warszawy"},
    {"Łódź",
     {"ul. Piotrkowska 120", "al. Piłsudskiego 15"},
     "Łódzka Energia Włókniarz S.A.",
     "Urząd Skarbowy Łódź-Bałuty",
     "Urząd Miasta Łodzi"},
};

constexpr Town kTripTowns[] = {
    {"Zakopane", {"ul. Krupówki 12", "ul. Kościuszki 5"}, "", "", ""},
    {"Sopot", {"ul. Bohaterów Monte Cassino 36", "ul. Haffnera 6"}, "", "", ""},
    {"Toruń", {"ul. Szeroka 21", "Rynek Staromiejski 3"}, "", "", ""},
    {"Świnoujście", {"ul. Armii Krajowej 5", "ul. Monte Cassino 17"}, "", "", ""},
    {"Katowice", {"ul. 3 Maja 30", "ul. Mariacka 11"}, "", "", ""},
    {"Żywiec", {"Rynek 9", "ul. Kościuszki 34"}, "", "", ""},
};

// Weighted as a household spends: groceries most often, a television now and then.
constexpr Shop kShops[] = {
    {"Dyskont Oszczędek #", 18, 1200, 26000},
    {"Supermarket Pełny Kosz", 12, 1800, 32000},
    {"Sklepik Żuczek Z#", 12, 399, 4500},
    {"Hipermarket Obfitość", 5, 3000, 42000},
    {"Delikatesy Pod Lipą", 4, 800, 9000},
    {"Centrum Handlowe Kłos", 2, 5000, 52000},
    {"Market Skowronek", 3, 1500, 18000},
    {"Sklep Wiejski Kłosek", 3, 1500, 16000},
    {"Piekarnia Bułeczka", 3, 450, 2800},
    {"Stacja Paliw Kropla nr #", 7, 8000, 34000},
    {"Paliwa Jaskółka", 2, 8000, 30000},
    {"Stacja Bizon", 2, 6000, 28000},
    {"Drogeria Pachnidełko #", 5, 1200, 16000},
    {"Drogeria Mydełko", 2, 1500, 12000},
    {"Apteka Pod Złotym Moździerzem", 3, 900, 14000},
    {"Burger Wiatrak", 3, 1500, 7500},
    {"Kurczak Złocisty", 1, 1800, 6500},
    {"Kawiarnia Filiżanka", 2, 1200, 4500},
    {"Pizzeria Pomodorino", 2, 3500, 12000},
    {"Bar Mleczny Pod Arkadami", 1, 1400, 4200},
    {"Bilety Miejskie Tramwajek", 2, 340, 11000},
    {"Koleje Ekspresowe Sokół", 1, 2900, 18900},
    {"Taksówki Strzała", 2, 1400, 6500},
    {"Sklep Drobiazg", 2, 1000, 12000},
    {"Obuwie Krok", 1, 8000, 35000},
    {"Moda Jaskier", 1, 6000, 40000},
    {"Meble Sosenka", 1, 2000, 150000},
    {"Market Budowlany Majster", 1, 1500, 60000},
    {"Księgarnia Zakładka", 2, 2000, 20000},
    {"Elektro Świetlik", 1, 3000, 250000},
    {"Kino Pod Gwiazdami", 1, 2400, 9000},
};

constexpr Employer kEmployers[] = {
    {"Softwarehouse Wisła Sp. z o.o.", 10, 780000, 1150000},
    {"Przedsiębiorstwo Budowlane \"Dźwig\" Sp. z o.o.", 0, 520000, 720000},
    {"Bałtycka Spedycja Sp. z o.o.", 10, 560000, 780000},
    {"Wojewódzki Szpital Specjalistyczny nr 2", 0, 610000, 890000},
    {"Fabryka Mebli \"Ślązak\" Sp. j.", 10, 480000, 640000},
    {"Żuławska Spółdzielnia Mleczarska", 0, 450000, 600000},
};

constexpr Landlord kLandlords[] = {
    {"Spółdzielnia Mieszkaniowa \"Śródmieście\"", "Opłaty za lokal", 48000, 78000},
    {"Wspólnota Mieszkaniowa ul. Źródlana 5", "Zaliczka na koszty zarządu, lokal", 42000, 69000},
    {"Małgorzata Wąsik", "Czynsz najmu mieszkania", 210000, 320000},
    {"Stanisław Kaźmierczak", "Najem mieszkania", 180000, 290000},
};

constexpr const char* kAddresses[] = {"ul. Źródlana 5/12",    "os. Słoneczne 14/27",
                                      "ul. Ogrodowa 7/3",     "ul. Wiśniowa 21/8",
                                      "ul. Żeromskiego 33/4", "ul. Łąkowa 2/15"};

constexpr Supplier kPhoneOperators[] = {
    {"Sieć Komórkowa Zasięg S.A.", "Zasięg", 3500, 7500},
    {"Telefonia Sygnał Sp. z o.o.", "Sygnał", 4500, 8900},
    {"Mewa Telekom S.A.", "Mewa", 4000, 8000},
    {"Echo Komórka Sp. z o.o.", "Echo", 3000, 6500},
};

constexpr Supplier kInternetProviders[] = {
    {"Światłowody Pajęczyna S.A.", "Pajęczyna", 6999, 6999},
    {"Kablówka Antena Sp. z o.o.", "Antena", 5999, 5999},
    {"Sieć Osiedlowa Łącze Sp. z o.o.", "Łącze", 7999, 7999},
    {"Internet Bocian S.A.", "Bocian", 6500, 6500},
    {"Radiowy Internet Sójka Sp. z o.o.", "Sójka", 8900, 8900},
};

constexpr Supplier kSubscriptions[] = {
    {"Kinowo Plus Amsterdam", "Kinowo", 4900, 4900},
    {"Nordic Tunes Stockholm", "Nordic Tunes", 2399, 2399},
    {"Bajkowo Stream Dublin", "Bajkowo", 3799, 3799},
};

// The module's rules know top-up operators by this name.
constexpr const char* kTopUpOperators[] = {"DOLADOWANIA.PL Sp. z o.o.", "DOLADOWANIA.PL"};

constexpr const char* kPeople[] = {
    "Anna Testowa",     "Krystyna Testowa",     "Piotr Zaręba",    "Katarzyna Dąbrowska",
    "Józef Ślusarczyk", "Agnieszka Wiśniewska", "Bożena Świątek",  "Grzegorz Brzęczyszczykiewicz",
    "Łucja Ćwik-Żaba",  "Patrick O'Neil",       "Żaneta Ździebło", "Ewa Gołębiowska"};

constexpr Phrase kPaymentsToPeople[] = {
    {"Zwrot za bilety do kina", 3000, 9000},
    {"Za pizzę", 2500, 6000},
    {"Zwrot pożyczki", 20000, 150000},
    {"Na prezent dla Kasi", 5000, 20000},
    {"Zrzutka na prezent dla szefa", 2000, 5000},
    {"Za zakupy", 4000, 25000},
    {"Zaliczka za nocleg w Zakopanem", 30000, 90000},
    {"Za bilety na koncert", 12000, 40000},
    {"Składka na komitet rodzicielski", 5000, 15000},
    {"Oddaję za paliwo", 5000, 15000},
    {"Kieszonkowe", 5000, 20000},
};

constexpr Phrase kPaymentsFromPeople[] = {
    {"Zwrot za bilety", 3000, 9000},
    {"Oddaję za pizzę", 2500, 6000},
    {"Zwrot pożyczki, dzięki!", 20000, 150000},
    {"Prezent urodzinowy", 10000, 50000},
    {"Za paliwo, wyjazd nad morze", 8000, 20000},
    {"Na wspólne zakupy", 20000, 80000},
    {"Za koncert", 12000, 40000},
    {"Zwrot za obiad", 3000, 8000},
};

constexpr const char* kForeignClients[] = {"Hummelflug Software GmbH", "Sjostjarna Design AB",
                                           "Puffin & Kettle Consulting Ltd"};

constexpr const char* kMonthNames[] = {"styczeń",  "luty",        "marzec",   "kwiecień",
                                       "maj",      "czerwiec",    "lipiec",   "sierpień",
                                       "wrzesień", "październik", "listopad", "grudzień"};
}  // namespace

std::span<const Town> HomeTowns() {
    return kHomeTowns;
}
std::span<const Town> TripTowns() {
    return kTripTowns;
}
std::span<const Shop> Shops() {
    return kShops;
}
std::span<const Employer> Employers() {
    return kEmployers;
}
std::span<const Landlord> Landlords() {
    return kLandlords;
}
std::span<const char* const> Addresses() {
    return kAddresses;
}
std::span<const Supplier> PhoneOperators() {
    return kPhoneOperators;
}
std::span<const Supplier> InternetProviders() {
    return kInternetProviders;
}
std::span<const Supplier> Subscriptions() {
    return kSubscriptions;
}
std::span<const char* const> TopUpOperators() {
    return kTopUpOperators;
}
std::span<const char* const> People() {
    return kPeople;
}
std::span<const Phrase> PaymentsToPeople() {
    return kPaymentsToPeople;
}
std::span<const Phrase> PaymentsFromPeople() {
    return kPaymentsFromPeople;
}
std::span<const char* const> ForeignClients() {
    return kForeignClients;
}
std::span<const char* const> MonthNames() {
    return kMonthNames;
}

}  // namespace HistoryTables
