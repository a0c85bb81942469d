#include "AddressGenerator.h"

#include <array>

namespace {

// splitmix64: a tiny, well-mixed hash, so every field of every record is independent of the
// others and of the order in which records are generated.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

template <size_t N> const char* pick(const std::array<const char*, N>& list, std::uint64_t r) {
    return list[r % N];
}

const std::array<const char*, 24> kSurnames = {
    "Müller",   "Schmidt",  "Schneider", "Fischer",    "Weber", "Meyer",   "Wagner",  "Becker",
    "Schulz",   "Hoffmann", "Schäfer",   "Koch",       "Bauer", "Richter", "Klein",   "Wolf",
    "Schröder", "Neumann",  "Schwarz",   "Zimmermann", "Braun", "Krüger",  "Hofmann", "Hartmann"};
const std::array<const char*, 20> kFirstNamesMale = {
    "Jürgen", "Hans",  "Peter",  "Klaus", "Michael",  "Thomas",    "Andreas",
    "Stefan", "Jörg",  "Uwe",    "Frank", "Matthias", "Günter",    "Bernd",
    "Ralf",   "Björn", "Tobias", "Lukas", "Jonas",    "Maximilian"};
const std::array<const char*, 20> kFirstNamesFemale = {
    "Ursula", "Monika", "Petra",   "Sabine", "Claudia", "Gudrun", "Anja",
    "Birgit", "Käthe",  "Gisela",  "Renate", "Sophie",  "Marie",  "Lea",
    "Hanna",  "Jana",   "Susanne", "Doris",  "Heike",   "Jördis"};
const std::array<const char*, 20> kStreets = {
    "Hauptstraße", "Schulstraße", "Gartenstraße",  "Bahnhofstraße", "Dorfstraße",
    "Bergstraße",  "Birkenweg",   "Lindenstraße",  "Kirchstraße",   "Waldstraße",
    "Ringstraße",  "Mühlenweg",   "Am Anger",      "Goethestraße",  "Schillerstraße",
    "Königsallee", "Rosenweg",    "Fliederstraße", "Mozartstraße",  "Tannenstraße"};
struct City {
    const char* name;
    int zipBase;
};
const std::array<City, 20> kCities = {{{"Berlin", 10115},
                                       {"Hamburg", 20095},
                                       {"München", 80331},
                                       {"Köln", 50667},
                                       {"Frankfurt am Main", 60311},
                                       {"Stuttgart", 70173},
                                       {"Düsseldorf", 40210},
                                       {"Leipzig", 4103},
                                       {"Dortmund", 44135},
                                       {"Essen", 45127},
                                       {"Bremen", 28195},
                                       {"Dresden", 1067},
                                       {"Hannover", 30159},
                                       {"Nürnberg", 90402},
                                       {"Duisburg", 47051},
                                       {"Bochum", 44787},
                                       {"Würzburg", 97070},
                                       {"Lübeck", 23552},
                                       {"Göttingen", 37073},
                                       {"Münster", 48143}}};
const std::array<const char*, 6> kCountries = {"Deutschland", "Deutschland", "Deutschland",
                                               "Deutschland", "Österreich",  "Schweiz"};
const std::array<const char*, 6> kCategories = {"Kunde",       "Lieferant", "Privat",
                                                "Interessent", "Presse",    "Verein"};
const std::array<const char*, 5> kSubjects = {"Angebot", "Rechnung", "Einladung", "Rundschreiben",
                                              "Glückwünsche"};

QString lower(const char* text) {
    return QString::fromUtf8(text)
        .toLower()
        .replace(QStringLiteral("ä"), QStringLiteral("ae"))
        .replace(QStringLiteral("ö"), QStringLiteral("oe"))
        .replace(QStringLiteral("ü"), QStringLiteral("ue"))
        .replace(QStringLiteral("ß"), QStringLiteral("ss"))
        .replace(u' ', u'-');
}

} // namespace

const QStringList& AddressGenerator::columns() {
    static const QStringList names = {
        QStringLiteral("Mail"),     QStringLiteral("Anrede"),  QStringLiteral("Betreff"),
        QStringLiteral("Name"),     QStringLiteral("Vorname"), QStringLiteral("Ansprechpartner"),
        QStringLiteral("Str"),      QStringLiteral("PLZ"),     QStringLiteral("Ort"),
        QStringLiteral("Land"),     QStringLiteral("Tel"),     QStringLiteral("Fax"),
        QStringLiteral("Kategorie")};
    return names;
}

AddressGenerator::AddressGenerator(std::uint64_t seed) : m_seed(seed) {}

QStringList AddressGenerator::address(std::int64_t n) const {
    const std::uint64_t base = mix(m_seed ^ mix(static_cast<std::uint64_t>(n)));
    auto r = [base](int salt) { return mix(base + static_cast<std::uint64_t>(salt)); };

    const bool female = r(1) % 2 == 0;
    const char* surname = pick(kSurnames, r(2));
    const char* first = female ? pick(kFirstNamesFemale, r(3)) : pick(kFirstNamesMale, r(3));
    const City& city = kCities[r(4) % kCities.size()];
    const int zip = city.zipBase + static_cast<int>(r(5) % 90);
    const QString phone =
        QStringLiteral("0%1 %2").arg(200 + r(6) % 700).arg(100000 + r(7) % 900000);

    QStringList values;
    values.reserve(columns().size());
    values << QStringLiteral("%1.%2%3@example.de").arg(lower(first), lower(surname)).arg(n);
    values << QString::fromUtf8(female ? "Frau" : "Herr");
    values << QString::fromUtf8(pick(kSubjects, r(12)));
    values << QString::fromUtf8(surname);
    values << QString::fromUtf8(first);
    values << QStringLiteral("%1 %2").arg(QString::fromUtf8(pick(kFirstNamesMale, r(13))),
                                          QString::fromUtf8(pick(kSurnames, r(14))));
    values << QStringLiteral("%1 %2")
                  .arg(QString::fromUtf8(pick(kStreets, r(15))))
                  .arg(1 + r(16) % 180);
    values << QStringLiteral("%1").arg(zip, 5, 10, QLatin1Char('0'));
    values << QString::fromUtf8(city.name);
    values << QString::fromUtf8(pick(kCountries, r(17)));
    values << phone;
    values << phone + QStringLiteral("-9");
    values << QString::fromUtf8(pick(kCategories, r(18)));
    return values;
}
