#include "devhost/server/DirectoryGenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "protocol/Card.h"
#include "support/Base64.h"

namespace {

// splitmix64: small, and the same sequence everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
    bool Percent(int chance) { return Below(100) < chance; }
    template <std::size_t N>
    const char* Pick(const std::array<const char*, N>& items) { return items[Below(static_cast<int>(N))]; }
    std::string Digits(int count)
    {
        std::string digits;
        for (int i = 0; i < count; ++i)
            digits += static_cast<char>('0' + Below(10));
        return digits;
    }

private:
    std::uint64_t state;
};

const std::array<const char*, 40> kFirstNames = {
    "Jos\xe9",    "Mar\xed" "a",   "Luc\xed" "a",   "Ra\xfal",    "In\xe9s",     "\xc1lvaro",  "Sof\xed" "a",
    "Andr\xe9s",  "Jes\xfas",   "Ver\xf3nica", "M\xf3nica", "Iv\xe1n",     "Rub\xe9n",   "Adri\xe1n",
    "\xc1ngela",  "Bego\xf1" "a", "Carmen",   "Pilar",      "Javier",      "Luis",       "Elena",
    "Pablo",      "Nuria",      "Sergio",     "Marta",      "Diego",       "Laura",      "Hugo",
    "John",       "Emma",       "Olivia",     "James",      "Grace",       "Henry",      "Chloe",
    "Oliver",     "Amelia",     "Noah",       "Isla",       "Thomas"};

const std::array<const char*, 32> kLastNames = {
    "Garc\xed" "a",  "Mu\xf1oz",    "Mart\xednez", "L\xf3pez",   "Fern\xe1ndez", "G\xf3mez",   "P\xe9rez",
    "S\xe1nchez", "Rodr\xedguez", "Ib\xe1\xf1" "ez", "Nu\xf1" "ez", "Pe\xf1" "a", "Jim\xe9nez", "Hern\xe1ndez",
    "Ruiz",       "Castro",      "Ortega",      "Navarro",    "Romero",       "Molina",     "Delgado",
    "Vega",       "Smith",       "Brown",       "Walker",     "Taylor",       "Wilson",     "Evans",
    "Hughes",     "Murphy",      "O'Brien",     "Clarke"};

const std::array<const char*, 20> kCompanies = {
    "Northwind Traders",  "Azulejos del Sur",      "Bluefin Logistics",     "Caf\xe9s La Estrella",
    "Grupo Alba",         "Harbor Analytics",      "Inform\xe1tica Levante", "Kestrel Labs",
    "Mercado Central",    "Orion Textiles",        "Quantum Bakery",        "Riverside Clinic",
    "Sierra Verde Seguros", "Talleres Ram\xedrez", "Umbra Design",          "Vi\xf1" "edos del Duero",
    "Smith & Sons",       "Cooperativa Ol\xedvar", "Lumen Studio",          "Transportes Ebro"};

const std::array<const char*, 16> kJobs = {
    "Software engineer", "Sales manager",     "Ingeniera de software", "Contable",
    "Director comercial", "Designer",         "Nurse",                 "Teacher",
    "Abogado",           "Consultant",        "Jefa de proyecto",      "Analyst",
    "T\xe9" "cnico de sistemas", "Recepcionista", "Chef",              "Arquitecta"};

const std::array<const char*, 10> kDepartments = {"Sales", "R&D", "Ventas", "Finanzas", "IT",
                                                  "Log\xedstica", "Marketing", "Recursos humanos",
                                                  "Operations", ""};

const std::array<const char*, 8> kTitles = {"Sr.", "Sra.", "Dr.", "Dra.", "Mr.", "Ms.", "", ""};

const std::array<const char*, 5> kDomains = {"example.net", "example.org", "example.com", "correo.example.es",
                                             "mail.example.mx"};

struct Place {
    const char* city;
    const char* state;
    const char* country;
};

const std::array<Place, 22> kPlaces = {{
    {"Madrid", "Madrid", "Espa\xf1" "a"},
    {"Barcelona", "Catalu\xf1" "a", "Espa\xf1" "a"},
    {"Sevilla", "Andaluc\xed" "a", "Espa\xf1" "a"},
    {"M\xe1laga", "Andaluc\xed" "a", "Espa\xf1" "a"},
    {"Valencia", "Comunidad Valenciana", "Espa\xf1" "a"},
    {"Bilbao", "Pa\xeds Vasco", "Espa\xf1" "a"},
    {"A Coru\xf1" "a", "Galicia", "Espa\xf1" "a"},
    {"C\xf3rdoba", "Andaluc\xed" "a", "Espa\xf1" "a"},
    {"Le\xf3n", "Castilla y Le\xf3n", "Espa\xf1" "a"},
    {"Ciudad de M\xe9xico", "CDMX", "M\xe9xico"},
    {"Guadalajara", "Jalisco", "M\xe9xico"},
    {"Bogot\xe1", "Cundinamarca", "Colombia"},
    {"Medell\xedn", "Antioquia", "Colombia"},
    {"Buenos Aires", "Buenos Aires", "Argentina"},
    {"C\xf3rdoba", "C\xf3rdoba", "Argentina"},
    {"Lima", "Lima", "Per\xfa"},
    {"Santiago", "Regi\xf3n Metropolitana", "Chile"},
    {"Austin", "Texas", "United States"},
    {"Seattle", "Washington", "United States"},
    {"Toronto", "Ontario", "Canada"},
    {"London", "England", "United Kingdom"},
    {"Dublin", "Leinster", "Ireland"},
}};

const std::array<const char*, 6> kStreets = {"Calle Mayor", "Avenida de la Constituci\xf3n", "Plaza Espa\xf1" "a",
                                             "Paseo de Gracia", "Main Street", "Camino Real"};

// Lower-case ASCII letters and digits only, accents dropped.
std::string Slug(std::string_view text)
{
    static constexpr std::string_view from = "\xe1\xe9\xed\xf3\xfa\xf1\xfc\xc1\xc9\xcd\xd3\xda\xd1\xdc";
    static constexpr std::string_view to = "aeiounuaeiounu";
    std::string slug;
    for (char c : text) {
        std::size_t at = from.find(c);
        if (at != std::string_view::npos)
            c = to[at];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            slug += c;
    }
    return slug;
}

std::string Phone(Random& random, const Place& place)
{
    std::string_view country = place.country;
    if (country == "United States" || country == "Canada")
        return "+1 " + random.Digits(3) + " " + random.Digits(3) + " " + random.Digits(4);
    if (country.substr(0, 4) == "Espa")
        return "+34 " + std::to_string(6 + random.Below(4)) + random.Digits(2) + " " + random.Digits(3) + " " +
               random.Digits(3);
    return "+" + std::to_string(40 + random.Below(59)) + " " + random.Digits(3) + " " + random.Digits(4);
}

void FillAddress(CardRecord& card, int section, Random& random)
{
    const Place& place = kPlaces[random.Below(static_cast<int>(kPlaces.size()))];
    std::string street = random.Pick(kStreets);
    street += " " + std::to_string(1 + random.Below(180));
    if (random.Percent(40))
        street += "\r\n" + std::to_string(1 + random.Below(9)) + "\xba " + static_cast<char>('A' + random.Below(4));
    card.SetField(section, "a", street);
    card.SetField(section, "ci", place.city);
    card.SetField(section, "s", place.state);
    card.SetField(section, "z", random.Digits(5));
    card.SetField(section, "t", place.country);
    card.SetField(section, "p", Phone(random, place));
    card.SetField(section, "x", random.Percent(20) ? Phone(random, place) : "");
    card.SetField(section, "m", random.Percent(70) ? Phone(random, place) : "");
}

void Publish(StoredSection& section, Random& random)
{
    section.held = true;
    section.notPublished = random.Percent(20) ? 1 : 0;
    section.version = random.Below(5);
}

struct Rgb {
    std::uint8_t r, g, b;
};

Rgb Colour(Random& random, int low, int high)
{
    auto channel = [&] { return static_cast<std::uint8_t>(low + random.Below(high - low + 1)); };
    Rgb colour{};
    colour.r = channel();
    colour.g = channel();
    colour.b = channel();
    return colour;
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::string MakePortraitBmp(int width, int height, std::uint64_t seed)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    Random random(seed);
    static constexpr Rgb skins[] = {{245, 214, 190}, {230, 185, 150}, {200, 150, 110}, {150, 100, 70}, {100, 65, 45}};
    const Rgb background = Colour(random, 150, 255), skin = skins[random.Below(5)], clothes = Colour(random, 0, 120);
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes) * static_cast<std::uint32_t>(height);

    std::string bmp = "BM";
    PutLittleEndian(bmp, 54 + pixelBytes, 4);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, 54, 4);
    PutLittleEndian(bmp, 40, 4);  // BITMAPINFOHEADER
    PutLittleEndian(bmp, static_cast<std::uint32_t>(width), 4);
    PutLittleEndian(bmp, static_cast<std::uint32_t>(height), 4);
    PutLittleEndian(bmp, 1, 2);
    PutLittleEndian(bmp, 24, 2);
    PutLittleEndian(bmp, 0, 4);  // uncompressed
    PutLittleEndian(bmp, pixelBytes, 4);
    PutLittleEndian(bmp, 2835, 4);  // 72 dpi
    PutLittleEndian(bmp, 2835, 4);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, 0, 4);

    // A head with hair and eyes over shoulders; y grows upwards as the rows
    // are stored.
    const Rgb hair = Colour(random, 20, 110), eyes = {40, 30, 30};
    const double unit = std::min(width, height);
    const double headX = width / 2.0, headY = height * 0.58, headR = unit * (0.2 + random.Below(10) / 100.0);
    const double bodyY = -unit * 0.1, bodyR = unit * 0.45;
    const double eyeX = headR * 0.4, eyeY = headY + headR * 0.1, eyeR = std::max(1.0, headR * 0.13);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double dx = x + 0.5 - headX, hy = y + 0.5 - headY, by = y + 0.5 - bodyY;
            Rgb pixel = background;
            if (dx * dx + by * by < bodyR * bodyR)
                pixel = clothes;
            if (dx * dx + hy * hy < headR * headR)
                pixel = hy > headR * 0.45 ? hair : skin;
            double ex = std::abs(dx) - eyeX, ey = y + 0.5 - eyeY;
            if (ex * ex + ey * ey < eyeR * eyeR)
                pixel = eyes;
            bmp += static_cast<char>(pixel.b);
            bmp += static_cast<char>(pixel.g);
            bmp += static_cast<char>(pixel.r);
        }
        bmp.append(static_cast<std::size_t>(rowBytes - width * 3), '\0');
    }
    return bmp;
}

std::vector<CardRecord> GenerateCards(int count, std::uint64_t seed)
{
    std::vector<CardRecord> cards;
    for (int i = 0; i < count; ++i) {
        Random random(seed * 0x100000001B3ull + static_cast<std::uint64_t>(i));
        std::string first = random.Pick(kFirstNames);
        std::string last = random.Pick(kLastNames);
        if (random.Percent(50))
            last += std::string(" ") + random.Pick(kLastNames);
        std::string user = Slug(first) + "." + Slug(last.substr(0, last.find(' '))) + std::to_string(i);
        CardRecord card(user, random.Pick(kDomains));
        std::string company = random.Pick(kCompanies);

        Publish(card.Section(IdentificationSection), random);
        card.SetField(IdentificationSection, "f", first);
        card.SetField(IdentificationSection, "l", last);
        card.SetField(IdentificationSection, "m",
                      random.Percent(25) ? std::string(1, static_cast<char>('A' + random.Below(26))) + "." : "");
        card.SetField(IdentificationSection, "p", random.Pick(kTitles));
        card.SetField(IdentificationSection, "fn", random.Percent(30) ? first + " " + last.substr(0, 1) + "." : first);
        card.SetField(IdentificationSection, "nk", random.Percent(30) ? Slug(first).substr(0, 3) : "");
        card.SetField(IdentificationSection, EmailTag(0), CombinedName(user, card.domain));
        if (random.Percent(35))
            card.SetField(IdentificationSection, EmailTag(1), Slug(first) + "@" + Slug(company) + ".example.com");

        if (random.Percent(85)) {
            Publish(card.Section(HomeSection), random);
            FillAddress(card, HomeSection, random);
            card.SetField(HomeSection, "w", WebPageToSend(random.Percent(30) ? user + ".example.org" : ""));
        }
        if (random.Percent(70)) {
            Publish(card.Section(BusinessSection), random);
            FillAddress(card, BusinessSection, random);
            card.SetField(BusinessSection, "cp", company);
            card.SetField(BusinessSection, "j", random.Pick(kJobs));
            card.SetField(BusinessSection, "d", random.Pick(kDepartments));
            card.SetField(BusinessSection, "w", WebPageToSend("www." + Slug(company) + ".example.com"));
        }
        if (random.Percent(90)) {
            Publish(card.Section(PhotoSection), random);
            int side = 40 + random.Below(9);
            std::string picture = Base64Encode(MakePortraitBmp(side, side + random.Below(5), random.Next()), true);
            while (!picture.empty() && picture.back() == '\n')
                picture.pop_back();
            card.SetField(PhotoSection, "ph", picture);
        }
        cards.push_back(std::move(card));
    }
    return cards;
}

int GenerateDirectory(const std::filesystem::path& folder, int count, std::uint64_t seed)
{
    int written = 0;
    for (const CardRecord& card : GenerateCards(count, seed))
        written += WriteCardFile(folder, card) ? 1 : 0;
    return written;
}
