#include "view/builtin_palettes.h"

#include <array>

#include "view/palette_commands.h"

namespace zentorix {

namespace {

constexpr std::array<BuiltInColourScheme, 5> kSchemes = {{
    {"Колір", "#CX   S    65535       0      55      91     25510789024"},
    {"Класика", "#CX            012632256 8421504       0     25510789024"},
    {"Вишивка", "#CX B          01579315112632256 8421504     25516777215 "},
    {"Ліс", "#CX        327681263942412632256 8421504   65280   32896"},
    {"Вода", "#CX     1671168015780518 8421504 83886081677696012632256"},
}};
constexpr std::array<std::string_view, 5> kPalette0 = {
    "#CZ  32",
    "#C0    52991   40447   27903   15359    2815     216     167     118",
    "#C1       69      20 1900544 5111808 8323072115343361474560016716544",
    "#C2 167290881674163216754176167667201618713612975872 9764608 6553344",
    "#C3  3342080  130816   65328   65377   65426   65475   65524   65535",
};
constexpr std::array<std::string_view, 9> kPalette1 = {
    "#CZ  64",
    "#C0    59391   53247   47103   40959   34815   28671   22527   16383",
    "#C1    10239    4095     246     222     198     174     150     126",
    "#C2      102      78      54      30       6 1179648 2752512 4325376",
    "#C3  5898240 7471104 90439681061683212189696137625601533542416712448",
    "#C4 1671859216724736167308801673702416743168167493121675545616761600",
    "#C5 167677441677388815990528144176641284480011271936 9699072 8126208",
    "#C6  6553344 4980480 3407616 1834752  261888   65301   65325   65349",
    "#C7    65373   65397   65421   65445   65469   65493   65517   65535",
};
constexpr std::array<std::string_view, 5> kPalette2 = {
    "#CZ  32",
    "#C0 1441792012124160 9830400 7536640 5242880 2949138  655413      88",
    "#C1      123     158     193     228    2047   11007   19967   28927",
    "#C2    37887   46847   55807   64767   65407  8517121002675216774656",
    "#C3 1676569616756736167477761673881616729856167208961671193616711680",
};
constexpr std::array<std::string_view, 9> kPalette3 = {
    "#CZ  64",
    "#C0 155975681448345613369344122552321114112010027008 8912896 7798784",
    "#C1  6684672 5570560 4456448 3342348 2228253 1114158      63      80",
    "#C2       97     114     131     148     165     182     199     216",
    "#C3      233     250    3071    7423   11775   16127   20479   24831",
    "#C4    29183   33535   37887   42239   46591   50943   55295   59647",
    "#C5    63999   65491   65423   65355   65287 3997440 845388812910336",
    "#C6 1677644816772096167677441676339216759040167546881675033616745984",
    "#C7 1674163216737280167329281672857616724224167198721671552016711680",
};
constexpr std::array<std::string_view, 5> kPalette4 = {
    "#CZ  32",
    "#C0 16764416167518721673932816726784167142401415577610944512 7733248",
    "#C1  4521984 1310720      29      78     127     176     225    5119",
    "#C2    17663   30207   42751   55295   65526   65477   65428   65379",
    "#C3    65330   65281 3211008 6422272 9633536128448001605606416776960",
};
constexpr std::array<std::string_view, 9> kPalette5 = {
    "#CZ  64",
    "#C0 1677081616764672167585281675238416746240167400961673395216727808",
    "#C1 167216641671552016121856145489921297612811403264 9830400 8257536",
    "#C2  6684672 5111808 3538944 1966080  393216      18      42      66",
    "#C3       90     114     138     162     186     210     234    1023",
    "#C4     7167   13311   19455   25599   31743   37887   44031   50175",
    "#C5    56319   62463   65523   65499   65475   65451   65427   65403",
    "#C6    65379   65355   65331   65307   65283 1441536 3014400 4587264",
    "#C7  6160128 7732992 93058561087872012451584140244481559731216776960",
};
constexpr std::array<std::string_view, 3> kPalette6 = {
    "#CZ  12",
    "#C0 16711935      64 8388608 8388736 4194432   327681671168016776960",
    "#C1    32896     255 8421440   65535",
};
constexpr std::array<BuiltInGenPalette, 7> kPalettes = {{
    {"Жовто-Червона 32", kPalette0},
    {"Жовто-Червона 64", kPalette1},
    {"Синьо-Червона-32", kPalette2},
    {"Синьо-Червона-64", kPalette3},
    {"Блакитно-Синя 32", kPalette4},
    {"Блакитно-Синя 64", kPalette5},
    {"Палітра Life 2.0", kPalette6},
}};

}  // namespace

std::span<const BuiltInColourScheme> BuiltInColourSchemes() {
    return kSchemes;
}

std::span<const BuiltInGenPalette> BuiltInGenPalettes() {
    return kPalettes;
}

bool ApplyBuiltInColourScheme(ColourModel& colours, int index) {
    if (index < 0 || index >= static_cast<int>(kSchemes.size()))
        return false;
    ApplyPaletteLine(colours, kSchemes[static_cast<std::size_t>(index)].Line);
    return true;
}

bool ApplyBuiltInGenPalette(ColourModel& colours, int index) {
    if (index < 0 || index >= static_cast<int>(kPalettes.size()))
        return false;
    for (int k = 1; k <= kPaletteSize; ++k)
        SetPanelEntry(colours, k, colours.BackgroundColour);
    for (std::string_view line : kPalettes[static_cast<std::size_t>(index)].Lines)
        ReadPaletteLine(colours, line);
    colours.RebuildStateColours();
    return true;
}

void ApplyStartUpColours(ColourModel& colours) {
    for (int k = 1; k <= kPaletteSize; ++k)
        SetPanelEntry(colours, k, colours.BackgroundColour);
    ReadPaletteLine(colours, kStartUpSchemeLine);
    for (std::string_view line : kPalettes[kStartUpGenPaletteIndex].Lines)
        ReadPaletteLine(colours, line);
    colours.RebuildStateColours();
}

ColourModel::ColourModel() {
    ApplyStartUpColours(*this);
}

}  // namespace zentorix
