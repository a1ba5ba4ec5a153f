#include "DataGenerator.h"

#include <algorithm>
#include <iterator>

#include "CivilDate.h"
#include "KindTable.h"
#include "Nrb.h"

namespace {
enum class Layout { Transfer, Fee, Card };

struct KindSample {
    const char* kindText;
    bool moneyIn;
    Layout layout;
    int64_t low, high;  // grosze
};

// One sample per rule of the classification table (index = rule - 1), then unclassified kinds.
constexpr KindSample kSamples[] = {
    {"OPŁATA MIES. ZA POLECENIE ZAPŁATY", false, Layout::Fee, 100, 500},
    {"OPŁATA ZA POWIADOMIENIA SMS", false, Layout::Fee, 20, 600},
    {"ODSETKI LOKAT TERMINOWYCH", true, Layout::Fee, 100, 90000},
    {"PRZELEW ZUS", false, Layout::Transfer, 30000, 150000},
    {"PRZELEW PRZYCHODZĄCY", true, Layout::Transfer, 1000, 1200000},
    {"WYGAŚNIĘCIE LOKATY TERMINOWEJ", true, Layout::Transfer, 100000, 5000000},
    {"PRZELEW WALUTOWY PRZYCHODZĄCY - ZAPŁATA ZA FAKTURĘ", true, Layout::Transfer, 10000, 900000},
    {"SPŁATA KARTY KREDYTOWEJ", false, Layout::Fee, 5000, 300000},
    {"POLECENIE ZAPŁATY", false, Layout::Transfer, 2000, 40000},
    {"PRZELEW WYCHODZĄCY", false, Layout::Transfer, 1000, 800000},
    {"PODATEK OD ODSETEK", false, Layout::Fee, 1, 20000},
    {"PRZELEW PODATKOWY", false, Layout::Fee, 5000, 300000},
    {"ZNAKI SKARBOWE", false, Layout::Fee, 500, 8200},
    {"ANULOWANIE PRZELEWU", true, Layout::Transfer, 1000, 200000},
    {"STORNO ODSETEK", false, Layout::Fee, 1, 5000},
    {"KAPITALIZACJA ODSETEK", true, Layout::Fee, 1, 30000},
    {"OPŁATA PRZELEW ZEWNĘTRZNY WYCHODZĄCY", false, Layout::Fee, 50, 500},
    {"OPŁATA PRZELEW WEWNĘTRZNY", false, Layout::Fee, 10, 200},
    {"OPŁATA ZA KARTĘ", false, Layout::Fee, 300, 1000},
    {"PRZELEW Z KARTY KREDYTOWEJ", true, Layout::Card, 10000, 500000},
    {"ZAKUP PRZY UŻYCIU KARTY", false, Layout::Card, 199, 250000},
    {"WYPŁATA W BANKOMACIE", false, Layout::Card, 2000, 150000},
    {"WPŁATA WE WPŁATOMACIE", true, Layout::Fee, 5000, 300000},
    {"PROWIZJA ATM KRAJ", false, Layout::Fee, 100, 1000},
    {"OPŁATA ZA ZMIANĘ PIN", false, Layout::Fee, 300, 600},
    {"OPŁATA ZA SPRAWDZENIE SALDA", false, Layout::Fee, 50, 200},
    {"ZLECENIE STAŁE", false, Layout::Transfer, 5000, 200000},
    {"INNA OPERACJA", true, Layout::Transfer, 100, 100000},
};
constexpr int kSampleCount = static_cast<int>(std::size(kSamples));

// Everyday kinds are more frequent than fees and rare events.
constexpr int kWeights[kSampleCount] = {1, 2, 1, 1, 12, 1, 1,  1, 3, 12, 1, 1, 1, 1,
                                        1, 1, 2, 1, 1,  1, 14, 4, 1, 1,  1, 1, 3, 1};

const char* const kPeople[] = {
    "Jan Kowalski",        "Agnieszka Wiśniewska",         "Józef Ślusarczyk", "Anna Ździebło",
    "Bożena Świątek",      "Grzegorz Brzęczyszczykiewicz", "Małgorzata Wąsik", "Piotr Zaręba",
    "Katarzyna Dąbrowska", "Stanisław Kaźmierczak",        "Ąbel Źrebiec",     "Łucja Ćwik-Żaba",
    "Patrick O'Neil"};
const char* const kCompanies[] = {"\"PGNiG\" Obrót Detaliczny Sp. z o.o.",
                                  "Tauron Sprzedaż Sp. z o.o.",
                                  "Orange Polska S.A.",
                                  "Spółdzielnia Mieszkaniowa \"Śródmieście\"",
                                  "Urząd Skarbowy Łódź-Bałuty",
                                  "Pub O'Reilly Sp. j.",
                                  "Wspólnota Mieszkaniowa ul. Źródlana 5",
                                  "Przedsiębiorstwo Wodociągów i Kanalizacji w Świdnicy"};
const char* const kTopUps[] = {"BLUE MEDIA S.A.", "DOLADOWANIA.PL Sp. z o.o.",
                               "QXL Poland Sp. z o.o.", "BLUE MEDIA dla QXL"};
const char* const kTitles[] = {"Czynsz za mieszkanie",
                               "Zapłata za fakturę FV/2010/03/123",
                               "Zwrot pożyczki",
                               "Opłata za prąd",
                               "Wynagrodzenie za pracę",
                               "Składka członkowska",
                               "Rata kredytu",
                               "Abonament telefoniczny",
                               "Przelew środków własnych",
                               "Darowizna na cel społeczny",
                               "Zaliczka na poczet zamówienia nr 4471/Ś/2010"};
const char* const kPlaces[] = {"WARSZAWA BIEDRONKA 1234", "KRAKÓW ŻABKA", "ŁÓDŹ ORLEN",
                               "ŚWINOUJŚCIE LIDL",        "ŹRÓDŁA KIOSK", "POZNAŃ EMPIK"};
const char* const kLongTitle =
    "Zapłata za fakturę VAT nr FV/2010/ŚĄŹ/000123 z dnia 05-03-2010 za usługi doradcze "
    "świadczone w okresie od stycznia do marca, zgodnie z umową nr 17/2009 oraz aneksem nr 2 "
    "do tej umowy";
}  // namespace

DataGenerator::DataGenerator(const GeneratorSettings& settings)
    : m_settings(settings), m_random(settings.seed) {}

std::string DataGenerator::MakeNrb(int routing, const std::string& rest16) {
    const std::string body = std::to_string(routing) + rest16;
    std::u16string wide = u"00" + std::u16string(body.begin(), body.end());
    const int check = CheckNRB(wide).expected;
    return std::string(1, char('0' + check / 10)) + char('0' + check % 10) + body;
}

std::string DataGenerator::randomDigits(int count) {
    std::string digits;
    for (int i = 0; i < count; ++i) {
        digits.push_back(static_cast<char>('0' + m_random() % 10));
    }
    return digits;
}

std::string DataGenerator::pick(const char* const* list, size_t size) {
    return list[m_random() % size];
}

int64_t DataGenerator::randomGrosze(int64_t low, int64_t high) {
    return std::uniform_int_distribution<int64_t>(low, high)(m_random);
}

BankOperation DataGenerator::makeOperation(int sample) {
    const KindSample& kind = kSamples[sample];
    BankOperation op;
    op.kindText = kind.kindText;
    op.grosze = randomGrosze(kind.low, kind.high);
    op.negative = !kind.moneyIn;
    if (sample == 13 && m_random() % 3 == 0) {
        op.negative = true;  // a cancelled transfer that the list still shows as money out
    }
    const bool bankFee = kind.layout == Layout::Fee;
    if (kind.layout == Layout::Card) {
        op.cardNumber = std::string("4") + randomDigits(5) + "******" + randomDigits(4);
        op.place = pick(kPlaces, std::size(kPlaces));
        op.title = m_random() % 4 == 0 ? "Transakcja kartą " + op.place : "";
        return op;
    }
    op.counterpartyAccount =
        MakeNrb(bankFee ? m_settings.routing : 10200000 + m_random() % 9000000, randomDigits(16));
    if (bankFee) {
        op.counterpartyName = "Tavro Bank S.A.";
        op.title = std::string(kind.kindText).substr(0, 6) == "OPŁAT" ? "Opłata" : "Rozliczenie";
    } else if (sample == 9 && m_random() % 3 == 0) {
        op.counterpartyName = pick(kTopUps, std::size(kTopUps));
        op.title = "Doładowanie telefonu 600" + randomDigits(6);
    } else {
        op.counterpartyName = m_random() % 2 ? pick(kPeople, std::size(kPeople))
                                             : pick(kCompanies, std::size(kCompanies));
        op.title = m_random() % 25 == 0 ? kLongTitle : pick(kTitles, std::size(kTitles));
    }
    if (sample == 3) {
        op.counterpartyName = "ZAKŁAD UBEZPIECZEŃ SPOŁECZNYCH";
        op.title = "Składki ZUS za miesiąc";
    }
    return op;
}

BankData DataGenerator::generate() {
    BankData data;
    data.user = m_settings.user;
    data.password = m_settings.password;
    const int today = CivilDate::Today();
    const int span = std::max(1, m_settings.days);
    std::discrete_distribution<int> weighted(std::begin(kWeights), std::end(kWeights));
    std::vector<BankOperation*> all;
    for (int a = 0; a < m_settings.accounts; ++a) {
        BankAccount account;
        account.nrb = MakeNrb(m_settings.routing, "00" + std::to_string(10 + a) + randomDigits(12));
        account.name =
            a == 0 ? "Konto osobiste Wygodne" : "Rachunek oszczędnościowy " + std::to_string(a);
        for (int i = 0; i < m_settings.operations; ++i) {
            // Every kind once, then by weight.
            const int sample = i < kSampleCount ? i : weighted(m_random);
            BankOperation op = makeOperation(sample);
            op.operationDay = today - static_cast<int>(m_random() % span);
            op.postingDay = op.operationDay;
            if (kSamples[sample].layout == Layout::Card) {
                op.postingDay = std::min(today, op.operationDay + static_cast<int>(m_random() % 3));
            }
            account.operations.push_back(std::move(op));
        }
        data.accounts.push_back(std::move(account));
    }
    for (BankAccount& account : data.accounts) {
        for (BankOperation& op : account.operations) {
            all.push_back(&op);
        }
    }
    // Operation numbers grow with the date across all accounts, as a bank's journal does.
    std::stable_sort(all.begin(), all.end(), [](const BankOperation* a, const BankOperation* b) {
        return a->operationDay < b->operationDay;
    });
    int32_t tid = 3000000 + static_cast<int32_t>(m_random() % 100000);
    for (BankOperation* op : all) {
        tid += 1 + static_cast<int32_t>(m_random() % 40);
        op->tid = tid;
    }
    for (BankAccount& account : data.accounts) {
        std::sort(account.operations.begin(), account.operations.end(),
                  [](const BankOperation& a, const BankOperation& b) { return a.tid > b.tid; });
    }
    return data;
}
