#!/usr/bin/env python3
"""Writes the shipped rule-name files and flag pictures into data/Language.

The rule strings come from the built-in preset table in
src/core/rules/preset_catalogue.cpp, so the files always name the rules the
program has. Names, characters, authors and the descriptions of the best-known
rules are written out below; the others are described from what their rule does.
Run it after a change of the preset table: scripts/make_language_data.py
"""
import pathlib
import re
import struct

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "data" / "Language"
TOKENS = ["NW", "NN", "NE", "WW", "ME", "EE", "SW", "SS", "SE"]
STD = [1, 1, 1, 1, 0, 1, 1, 1, 1]


def presets():
    text = (ROOT / "src/core/rules/preset_catalogue.cpp").read_text(encoding="utf-8")
    rows = re.findall(
        r'\{"((?:[^"\\]|\\.)*)", (kStd|\{[-0-9, ]+\}), (\d+), "([0-9,]*)", "([0-9,]*)"\}', text)
    out = []
    for name, weights, history, birth, survival in rows:
        w = STD if weights == "kStd" else [int(v) for v in weights.strip("{}").split(",")]
        out.append((name, w, int(history), birth, survival))
    assert len(out) == 147, len(out)
    return out


def rule_string(w, history, birth, survival):
    s = "".join(f"{t}{v}," for t, v in zip(TOKENS, w))
    s += f"HI{history},EX0,"
    s += "".join(f"RB{b}," for b in birth.split(",") if b)
    s += "".join(f"RS{v}," for v in survival.split(",") if v)
    return s


# name: (Ukrainian name, character EN, character UA, author, EN description, UA description)
KNOWN = {
    "Conway`s Life": ("Гра «Життя» Конвея", "chaotic", "хаотичне", "John Horton Conway",
        "The classic: a cell is born among exactly three live neighbours and survives among two or three. Gliders, oscillators and long chaotic transients.",
        "Класика: клітина народжується серед рівно трьох живих сусідів і виживає серед двох або трьох. Планери, осцилятори й довгі хаотичні перехідні процеси."),
    "HighLife": ("Високе життя", "chaotic", "хаотичне", "Nathan Thompson",
        "Life with an extra birth on six neighbours. Looks like Life, but a small replicator copies itself across the field.",
        "«Життя» з додатковим народженням на шести сусідах. Схоже на «Життя», але маленький реплікатор копіює себе полем."),
    "Day & Night": ("День і ніч", "stable", "стабільне", "Nathan Thompson",
        "Live and empty cells play the same game: the rule is symmetric under swapping them. Islands of either kind grow, shrink and carry their own spaceships.",
        "Живі й порожні клітини грають ту саму гру: правило не змінюється, якщо їх поміняти місцями. Острови обох видів ростуть, тануть і несуть власні кораблі."),
    "Seeds (2)": ("Насіння", "exploding", "вибухове", "Brian Silverman",
        "No cell survives; a cell is born among exactly two live neighbours. Almost every start explodes into a fast-moving spray.",
        "Жодна клітина не виживає; народження — серед рівно двох живих сусідів. Майже будь-який початок вибухає швидкими бризками."),
    "Brian`s Brain": ("Мозок Брайана", "exploding", "вибухове", "Brian Silverman",
        "Three states: a cell fires among exactly two firing neighbours, then rests one generation before it can fire again. Full of small spaceships.",
        "Три стани: клітина спалахує серед рівно двох збуджених сусідів, потім генерацію відпочиває. Повно маленьких кораблів."),
    "Maze": ("Лабіринт", "expanding", "розростання", "",
        "Birth on three, survival on one to five: any small start grows into a maze of one-cell corridors.",
        "Народження на трьох, виживання на одному–п'яти: будь-який малий початок росте в лабіринт коридорів завширшки в клітину."),
    "Mazectric": ("Електролабіринт", "expanding", "розростання", "",
        "A Maze whose survival stops at four: the corridors come out longer and straighter.",
        "«Лабіринт», у якому виживання закінчується на чотирьох: коридори довші й прямі."),
    "Replicator": ("Реплікатор", "exploding", "вибухове", "Edward Fredkin",
        "Birth and survival on an odd number of neighbours: every pattern is copied eight times over, growing without end.",
        "Народження й виживання на непарній кількості сусідів: будь-який візерунок копіюється вісім разів і росте без кінця."),
    "Fredkin": ("Фредкін", "exploding", "вибухове", "Edward Fredkin",
        "Parity of the cell and its eight neighbours: each pattern reappears in copies that spread over the field.",
        "Парність клітини з її вісьмома сусідами: кожен візерунок повторюється в копіях, що розходяться полем."),
    "2x2": ("2x2", "chaotic", "хаотичне", "",
        "Birth on three or six, survival on one, two or five: patterns are built from two-by-two blocks and many oscillate.",
        "Народження на трьох або шести, виживання на одному, двох або п'яти: візерунки складаються з блоків 2х2, багато з них коливаються."),
    "34 Life": ("Життя 34", "exploding", "вибухове", "",
        "Birth and survival on three or four neighbours: small starts grow into a busy expanding mass.",
        "Народження й виживання на трьох або чотирьох сусідах: малі початки ростуть у неспокійну масу, що розширюється."),
    "Coral": ("Корал", "expanding", "розростання", "",
        "Birth on three, survival on four or more: patterns grow slowly into branching coral.",
        "Народження на трьох, виживання на чотирьох і більше: візерунки повільно ростуть у розгалужений корал."),
    "Flakes": ("Пластівці", "expanding", "розростання", "",
        "Life without death: every live cell survives, births need three neighbours. Patterns grow into snowflake-like crystals.",
        "Життя без смерті: кожна жива клітина виживає, народження — на трьох сусідах. Візерунки ростуть у кристали, схожі на сніжинки."),
    "Long life": ("Довге життя", "stable", "стабільне", "",
        "Survival only on exactly five neighbours: oscillators with very long periods.",
        "Виживання лише на рівно п'яти сусідах: осцилятори з дуже довгими періодами."),
    "Diamoeba": ("Діамеба", "chaotic", "хаотичне", "",
        "Large diamond-shaped blobs whose edges move chaotically; a blob may grow or die out.",
        "Великі ромбоподібні плями з хаотично рухливими краями; пляма може рости або згаснути."),
    "Amoeba": ("Амеба", "chaotic", "хаотичне", "",
        "Blobs with restless edges spread and contract over the field.",
        "Плями з неспокійними краями розтікаються й стискаються полем."),
    "Assimilation": ("Асиміляція", "stable", "стабільне", "",
        "Diamond-shaped blobs grow and settle into stable forms.",
        "Ромбоподібні плями ростуть і завмирають у стійких формах."),
    "Coagulations": ("Згортання", "exploding", "вибухове", "",
        "Patterns grow into clots that spread steadily outward.",
        "Візерунки ростуть у згустки, що рівно поширюються назовні."),
    "Gnarl": ("Сучок", "exploding", "вибухове", "",
        "Birth and survival on a single neighbour: one cell grows into a gnarled, ever-changing texture.",
        "Народження й виживання на одному сусіді: одна клітина виростає в сучкувату мінливу текстуру."),
    "Move": ("Рух", "stable", "стабільне", "",
        "Many small spaceships and puffers; most soups calm down quickly.",
        "Багато маленьких кораблів і паротягів; більшість супів швидко заспокоюється."),
    "Pseudo life": ("Псевдожиття", "chaotic", "хаотичне", "",
        "Behaves much like Life, with different gliders and oscillators.",
        "Поводиться майже як «Життя», але з іншими планерами й осциляторами."),
    "Stains": ("Плями", "stable", "стабільне", "",
        "Soups settle into large still stains.",
        "Супи завмирають великими нерухомими плямами."),
    "WalledCities": ("Обнесені міста", "stable", "стабільне", "",
        "Dense regions build walls around themselves and live on as closed cities.",
        "Густі області зводять довкола себе стіни й живуть далі як замкнені міста."),
    "Serviettes": ("Серветки", "exploding", "вибухове", "",
        "No survival; births on two to four neighbours spread symmetric napkin patterns.",
        "Без виживання; народження на двох–чотирьох сусідах розгортає симетричні візерунки-серветки."),
    "InverseLife": ("Обернене життя", "chaotic", "хаотичне", "",
        "Life seen in negative: empty cells behave as live cells of Conway's Life.",
        "«Життя» в негативі: порожні клітини поводяться як живі клітини гри Конвея."),
    "Vote": ("Голосування", "stable", "стабільне", "",
        "Majority vote of the cell and its eight neighbours: noise clumps into smooth regions.",
        "Голосування більшістю клітини та її восьми сусідів: шум збирається в гладкі області."),
    "Vote4_5": ("Голосування 4/5", "stable", "стабільне", "Gérard Vichniac",
        "Majority vote with the tie at four and five swapped: the borders keep moving before they settle.",
        "Голосування більшістю з переставленою нічиєю на чотирьох і п'яти: межі довго рухаються, перш ніж завмерти."),
    "StarWars": ("Зоряні війни", "exploding", "вибухове", "Mirek Wójtowicz",
        "Four states: fast spaceships and rakes fight over the field.",
        "Чотири стани: швидкі кораблі та граблі воюють на полі."),
    "Frogs": ("Жаби", "chaotic", "хаотичне", "", "", ""),
    "Bombers": ("Бомбардувальники", "chaotic", "хаотичне", "", "", ""),
    "Banners": ("Прапори", "", "", "", "", ""),
    "Faders": ("Згасаючі", "", "", "", "", ""),
    "Fireworks": ("Феєрверк", "exploding", "вибухове", "", "", ""),
    "Lava": ("Лава", "", "", "", "", ""),
    "Lines": ("Лінії", "", "", "", "", ""),
    "Snake": ("Змія", "", "", "", "", ""),
    "Spirals": ("Спіралі", "", "", "", "", ""),
    "Sticks": ("Палички", "", "", "", "", ""),
    "Swirl": ("Вихор", "", "", "", "", ""),
    "Worms": ("Черв'яки", "", "", "", "", ""),
    "Wanderers": ("Мандрівники", "", "", "", "", ""),
    "Caterpillars": ("Гусениці", "", "", "", "", ""),
    "Burst": ("Вибух", "", "", "", "", ""),
    "BurstII": ("Вибух II", "", "", "", "", ""),
    "Nova": ("Нова", "", "", "", "", ""),
    "Frozen spirals": ("Застиглі спіралі", "", "", "", "", ""),
    "Prairie on fire": ("Прерія у вогні", "", "", "", "", ""),
    "Cooties": ("Воші", "", "", "", "", ""),
    "Transers": ("Перевізники", "", "", "", "", ""),
    "TransersII": ("Перевізники II", "", "", "", "", ""),
    "Sediment": ("Осад", "", "", "", "", ""),
    "Border": ("Межа", "", "", "", "", ""),
    "Bricks": ("Цеглини", "", "", "", "", ""),
    "Bustle": ("Метушня", "", "", "", "", ""),
    "Career": ("Кар'єра", "", "", "", "", ""),
    "Dragon": ("Дракон", "", "", "", "", ""),
    "Emergence": ("Виникнення", "", "", "", "", ""),
    "Fire-flies": ("Світлячки", "", "", "", "", ""),
    "Fleas": ("Блохи", "", "", "", "", ""),
    "Fleas2": ("Блохи 2", "", "", "", "", ""),
    "NoFleas2": ("Без бліх 2", "", "", "", "", ""),
    "PipeFleas": ("Блохи в трубах", "", "", "", "", ""),
    "Frost M": ("Іній M", "", "", "", "", ""),
    "Frost N": ("Іній N", "", "", "", "", ""),
    "Gnats": ("Мошки", "", "", "", "", ""),
    "Hogs": ("Кабани", "", "", "", "", ""),
    "PreHogs": ("Передкабани", "", "", "", "", ""),
    "Jitters": ("Тремтіння", "", "", "", "", ""),
    "Lemmings": ("Лемінги", "", "", "", "", ""),
    "Madness": ("Божевілля", "", "", "", "", ""),
    "MazeMakers": ("Будівники лабіринтів", "", "", "", "", ""),
    "Midges": ("Мошва", "", "", "", "", ""),
    "MikesAnts": ("Мурахи Майка", "", "", "", "", ""),
    "Mosquito": ("Комар", "", "", "", "", ""),
    "Mosquito2": ("Комар 2", "", "", "", "", ""),
    "Parity": ("Парність", "", "", "", "", ""),
    "HexParity": ("Гексагональна парність", "", "", "", "", ""),
    "Pictures": ("Картини", "", "", "", "", ""),
    "PicturesH": ("Картини з історією", "", "", "", "", ""),
    "Simple": ("Просте", "", "", "", "", ""),
    "Simple Inverse": ("Просте обернене", "", "", "", "", ""),
    "Simple Inverse Fire": ("Просте обернене полум'я", "", "", "", "", ""),
    "Simple hex crystal": ("Простий гексагональний кристал", "", "", "", "", ""),
    "Hex Inverse Fire": ("Гексагональне обернене полум'я", "", "", "", "", ""),
    "Stampede": ("Тиснява", "", "", "", "", ""),
    "Starbursts": ("Зоряні спалахи", "", "", "", "", ""),
    "Starbursts2": ("Зоряні спалахи 2", "", "", "", "", ""),
    "Stream": ("Потік", "", "", "", "", ""),
    "Upstream": ("Проти течії", "", "", "", "", ""),
    "Vineyard": ("Виноградник", "", "", "", "", ""),
    "Vineyard2": ("Виноградник 2", "", "", "", "", ""),
    "Weevils": ("Довгоносики", "", "", "", "", ""),
    "Weighted Brain": ("Зважений мозок", "", "", "", "", ""),
    "Cyclones": ("Циклони", "", "", "", "", ""),
    "Nocturne": ("Ноктюрн", "", "", "", "", ""),
    "Pinwheels": ("Вертушки", "", "", "", "", ""),
    "Bugs": ("Жуки", "", "", "", "", ""),
    "Bugsmovie": ("Кіно про жуків", "", "", "", "", ""),
    "Globe": ("Глобус", "", "", "", "", ""),
    "Gnarl (LTL)": ("Сучок (LTL)", "", "", "", "", ""),
    "Majority": ("Більшість", "", "", "", "", ""),
    "Majorly": ("Здебільшого", "", "", "", "", ""),
    "ModernArt": ("Сучасне мистецтво", "", "", "", "", ""),
    "Waffle": ("Вафля", "", "", "", "", ""),
    "Glisserati": ("Гліссераті", "", "", "", "", ""),
    "Rake": ("Граблі", "", "", "", "", ""),
    "Chenille": ("Синель", "", "", "", "", ""),
    "Circuit Genesis": ("Народження схем", "", "", "", "", ""),
    "Ebb&Flow": ("Приплив і відплив", "", "", "", "", ""),
    "Ebb&FlowII": ("Приплив і відплив II", "", "", "", "", ""),
    "LivingOnTheEdge": ("Життя на краю", "", "", "", "", ""),
    "MeteorGuns": ("Метеорні гармати", "", "", "", "", ""),
    "SoftFreeze": ("М'який мороз", "", "", "", "", ""),
    "ThrillGrill": ("Гриль", "", "", "", "", ""),
    "Cloud54": ("Хмара 54", "", "", "", "", ""),
    "Cloud75": ("Хмара 75", "", "", "", "", ""),
    "Bloomerang": ("Блумеранг", "", "", "", "", ""),
    "Feux": ("Вогні", "", "", "", "", ""),
}


def plural_uk(n):
    if n % 10 == 1 and n % 100 != 11:
        return "стан"
    if 2 <= n % 10 <= 4 and not 12 <= n % 100 <= 14:
        return "стани"
    return "станів"


def features(w, history, birth, survival):
    """The family and the generated description lines (EN, UA) of a rule."""
    b = [int(v) for v in birth.split(",") if v]
    s = [int(v) for v in survival.split(",") if v]
    bs, ss = ",".join(map(str, b)) or "-", ",".join(map(str, s)) or "-"
    if w == STD:
        hood_en, hood_uk = "over the eight neighbours", "з восьми сусідів"
    elif w == [1] * 9:
        hood_en, hood_uk = "over the cell and its eight neighbours", "з клітини та її восьми сусідів"
    elif w == [0, 1, 0, 1, 0, 1, 0, 1, 0]:
        hood_en, hood_uk = "over the four orthogonal neighbours", "з чотирьох прямих сусідів"
    elif w[2] == 0 and w[6] == 0 and w.count(0) == 3 or w[0] == 0 and w[8] == 0 and w.count(0) == 3:
        hood_en, hood_uk = "over six neighbours (a hexagonal neighbourhood)", \
            "з шести сусідів (шестикутне сусідство)"
    else:
        grid = " / ".join(" ".join(str(v) for v in w[i:i + 3]) for i in (0, 3, 6))
        hood_en = f"with the weights {grid} (rows from the top)"
        hood_uk = f"з вагами {grid} (рядки згори)"
    en = [f"Birth on sums {bs}, survival on sums {ss}, counted {hood_en}."]
    uk = [f"Народження на сумах {bs}, виживання на сумах {ss}, рахуючи {hood_uk}."]
    if history:
        en.append(f"History {history}: a cell that fails to survive decays through further "
                  "states before it vanishes, leaving trails behind whatever moves.")
        uk.append(f"Історія {history}: клітина, що не вижила, згасає через додаткові стани, "
                  "перш ніж зникнути, тож за рухомими візерунками тягнуться сліди.")
    if 0 in b:
        en.append("Births on an empty neighbourhood make the background flash from one "
                  "generation to the next.")
        uk.append("Народження на порожньому сусідстві змушує тло блимати від покоління до "
                  "покоління.")
    elif not s:
        en.append("No cell survives: every live cell lives one generation only.")
        uk.append("Жодна клітина не виживає: кожна жива клітина живе одне покоління.")
    if w == [1] * 9:
        family = ("Vote", "Голосування")
    elif w == STD:
        family = ("Generations", "Покоління") if history else ("Life", "Життя")
    else:
        family = ("Weighted Generations", "Зважені покоління") if history else \
            ("Weighted Life", "Зважене життя")
    return family, en, uk


def write_rlg(path, entries):
    path.write_bytes("\r\n".join(entries).encode("utf-8") + b"\r\n")


def flag(path, stripes=None, cross=None):
    """A 48x32 24-bit BMP: horizontal stripes, or a white field with a cross."""
    width, height = 48, 32
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            if stripes:
                r, g, b = stripes[y * len(stripes) // height]
            else:
                on = abs(x - width // 2 + 0.5) < 3.5 or abs(y - height // 2 + 0.5) < 3.5
                r, g, b = cross if on else (255, 255, 255)
            row += bytes((b, g, r))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    path.write_bytes(header + info + data)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    en_lines, uk_lines = [], []
    for number, (name, w, history, birth, survival) in enumerate(presets(), 1):
        (family_en, family_uk), gen_en, gen_uk = features(w, history, birth, survival)
        uk_name, char_en, char_uk, author, desc_en, desc_uk = KNOWN.get(
            name, (name, "", "", "", "", ""))
        rule = rule_string(w, history, birth, survival)
        # The first line says what the rule does; the generated lines add how.
        for lines, shown, char, family, desc, gen in (
                (en_lines, name, char_en, family_en, desc_en, gen_en),
                (uk_lines, uk_name, char_uk, family_uk, desc_uk, gen_uk)):
            lines.append(f"[N{number}] {name}")
            # Long rule strings go over several lines, as a rule-name file may.
            lines += [f"#R {rule[i:i + 120]}" for i in range(0, len(rule), 120)]
            lines.append("#RE")
            lines.append(f"#N {shown}")
            if char:
                lines.append(f"#H {char}")
            lines.append(f"#G {family}")
            if author:
                lines.append(f"#A {author}")
            described = ([desc] if desc else []) + gen
            lines += [f"#D {line}" for line in described[:3]]
            lines.append("")
    write_rlg(OUT / "english-rules.rlg", en_lines)
    write_rlg(OUT / "ukraine-rules.rlg", uk_lines)
    flag(OUT / "ukraine.bmp", stripes=[(0, 87, 183), (255, 215, 0)])
    flag(OUT / "english.bmp", cross=(200, 16, 46))
    (OUT / "#SelLangStart").write_bytes(b"")


if __name__ == "__main__":
    main()
