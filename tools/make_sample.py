#!/usr/bin/env python3
"""Writes the bundled sample database (ten files) into sample/.

Every creature and item here is invented for this project. The output is
deterministic, so running the script again reproduces the committed files byte
for byte; edit the tables below and re-run it instead of editing the files.

Usage: tools/make_sample.py [output-folder]   (default: <repo>/sample)
"""

import os
import sys

# Name, display name, level, size, race, element, mode.
# Names are ASCII keys; some are prefixes of others (KAPPA, KAPPA_KING,
# KAPPA_KING_) so that lookups by name must match whole keys.
# Mode mixes values the check boxes can show (0, 1, 13, 53 ...) with values
# they cannot (6, 129, large bit masks as real servers write them).
# DORO carries element 10, which is not a valid level*20+kind code.
MONSTERS = [
    ("KAPPA", "沼河童", 5, 0, 5, 21, 129),
    ("KAPPA_KING", "河童,大将", 38, 2, 5, 42, 33566865),
    ("KAPPA_KING_", "河童大将の影", 30, 1, 5, 41, 53),
    ("KAPPA_CHILD", "小河童", 2, 0, 5, 21, 0),
    ("TENGU", "木の葉天狗", 20, 1, 7, 24, 13),
    ("TENGU_CROW", "烏羽天狗", 24, 1, 2, 44, 6),
    ("TENGU_LORD", "大天狗ソウゲン", 60, 2, 6, 64, 33566869),
    ("KITSUNE", "野狐", 10, 0, 2, 23, 1),
    ("KITSUNE_SILVER", "銀毛の狐", 18, 0, 2, 43, 129),
    ("KITSUNE_NINE", "九尾の月狐", 70, 2, 8, 66, 2163077),
    ("OMOTE_KITSUNE", "表裏狐", 28, 1, 6, 47, 33),
    ("NOUMEN", "能面鬼", 33, 1, 6, 27, 133),
    ("ONI", "岩割り鬼", 40, 2, 6, 22, 53),
    ("ONI_BLUE", "青髭鬼", 42, 2, 6, 41, 2),
    ("KASA", "破れ傘の精", 6, 0, 0, 20, 0),
    ("CHOCHIN", "ゆらゆら～提灯", 9, 0, 0, 23, 1),
    ("TANUKI", "腹鼓狸", 7, 0, 2, 22, 129),
    ("TANUKI_BIG", "大腹鼓狸", 26, 2, 2, 42, 13),
    ("NUE", "夜啼き獣", 45, 2, 2, 67, 37),
    ("YUKI", "雪ん子ぼうし", 15, 0, 7, 21, 1),
    ("YUKI_QUEEN", "氷柱姫", 55, 1, 7, 61, 33566853),
    ("ZASHIKI", "座敷わらべ", 12, 0, 7, 28, 0),
    ("NEKOMATA", "二股猫", 22, 0, 2, 27, 141),
    ("NEKOMATA_", "二股猫（白）", 23, 0, 2, 26, 141),
    ("KOROGARI", "転がり蛇", 4, 0, 2, 22, 129),
    ("KODAMA", "木霊の灯", 3, 0, 3, 22, 0),
    ("KODAMA_ELDER", "古木の木霊", 32, 2, 3, 42, 4),
    ("MAYOIBI", "迷い火", 14, 0, 1, 29, 6),
    ("OKIBOZU", "沖の大坊主", 50, 2, 5, 81, 53),
    ("AMEFURI", "雨降らし蛙", 11, 0, 5, 21, 129),
    ("MUJINA", "土隠れ狢", 13, 0, 2, 22, 1),
    ("BAKU", "夢喰い獏", 36, 2, 2, 48, 2097281),
    ("YAMABIKO", "山彦ぼうや", 16, 0, 7, 20, 5),
    ("GAMA", "大蝦蟇", 34, 2, 5, 45, 8),
    ("KAMAITACHI", "鎌風いたち", 27, 0, 2, 44, 141),
    ("SHOJO", "酒呑み猩々", 31, 1, 2, 23, 17),
    ("MAINUNO", "舞い布", 19, 1, 1, 84, 9),
    ("NOBIKUBI", "首伸び女", 29, 1, 6, 69, 133),
    ("FUDAGUI", "札貼りの木偶", 17, 1, 0, 20, 32),
    ("DORO", "泥田の坊", 21, 1, 0, 10, 129),
]

# Item id, internal name, display name, then the per-file tail.
CONSUME_ITEMS = [
    (501, "Kizugusuri", "傷薬", 0, 50, 70, "itemheal rand(45,65),0;"),
    (502, "Kizugusuri_Koi", "濃い傷薬", 0, 200, 100, "itemheal rand(105,145),0;"),
    (503, "Reiyaku", "霊薬①", 0, 550, 130, "itemheal rand(175,235),0;"),
    (504, "Kanro", "甘露", 0, 1200, 150, "itemheal rand(325,405),0;"),
    (505, "Ao_Kusuri", "青い気付け薬", 0, 3000, 150, "itemheal 0,rand(40,60);"),
    (506, "Dango_Sanshoku", "団子～三色～", 0, 60, 30, "itemheal rand(20,30),rand(5,10);"),
    (507, "Soda_Sui", "ソーダ水", 0, 100, 50, "itemheal 0,rand(10,20);"),
    (508, "Umeboshi", "梅干し", 0, 30, 10, "sc_end SC_POISON;"),
    (509, "Kaeri_Fuda", "帰り札", 2, 800, 10, "itemskill RETURN_HOME,1;"),
    (510, "Tobi_Fuda", "飛び札", 2, 60, 10, "itemskill AL_TELEPORT,1;"),
    (511, "Kitsune_Abura", "狐火の油", 2, 400, 20, "sc_start SC_ATKPOTION,60000,5;"),
    (512, "Kappa_Kyuri", "河童の胡瓜", 0, 15, 20, "itemheal rand(10,15),0;"),
]

DROP_ITEMS = [
    (901, "Kappa_Sara", "河童の皿", 3, 120, 10),
    (902, "Tengu_Hane", "天狗の羽根", 3, 300, 5),
    (903, "Kitsune_Ke", "狐の毛", 3, 60, 1),
    (904, "Noumen_Kakera", "能面の欠片", 3, 900, 20),
    (905, "Oni_Tsuno", "鬼の角", 3, 1500, 40),
    (906, "Tanuki_Ha", "狸の葉っぱ", 3, 20, 1),
    (907, "Yuki_Kessho", "雪の結晶", 3, 250, 1),
    (908, "Hyousatsu", "古びた表札", 3, 80, 30),
    (909, "Neko_Suzu", "猫の鈴", 3, 150, 5),
    (910, "Kodama_Eda", "木霊の枝", 3, 40, 10),
    (911, "Doro_Dango", "泥団子", 3, 5, 10),
    (912, "Tamago_Gama", "蝦蟇の卵", 7, 3000, 50),
]

# Id, internal, name, type, buy, weight, atk, def, slots, location, script.
EQUIP_ITEMS = [
    (1101, "Kogatana", "小刀", 5, 100, 500, 25, 0, 3, 2, ""),
    (1102, "Tengu_Uchiwa", "天狗の団扇", 5, 4500, 600, 60, 0, 2, 2, "bonus bAgi,2;"),
    (1103, "Kappa_Yari", "河童の銛", 5, 3000, 1200, 85, 0, 1, 34, ""),
    (1104, "Oni_Kanabo", "鬼の金棒", 5, 9000, 2500, 140, 0, 0, 34, "bonus bStr,3; bonus bDex,-2;"),
    (2101, "Kasa_Tate", "破れ傘の盾", 4, 500, 300, 0, 2, 1, 32, ""),
    (2201, "Kitsune_Men", "狐の面", 4, 2000, 100, 0, 1, 0, 512, "bonus bLuk,1;"),
    (2202, "Noumen", "能面", 4, 6000, 100, 0, 2, 1, 512, "bonus bMdef,5;"),
    (2301, "Hanten", "綿入り半纏", 4, 800, 200, 0, 3, 1, 16, ""),
    (2302, "Ke_Goromo", "毛衣ソフト", 4, 2500, 350, 0, 5, 1, 16, "bonus bVit,1;"),
    (2401, "Waraji", "草鞋", 4, 300, 150, 0, 1, 1, 64, ""),
    (2501, "Mino", "蓑", 4, 700, 250, 0, 2, 1, 4, "bonus2 bSubEle,Ele_Water,10;"),
    (4001, "Kappa_Card", "河童カード", 6, 20, 10, 0, 0, 0, 136, "bonus bVit,1; bonus bMaxHP,100;"),
    (4002, "Tengu_Card", "天狗カード", 6, 20, 10, 0, 0, 0, 2, "bonus bAgi,2;"),
]

# Monster key -> list of (item id, rate per 10000); at most 8 pairs.
DROPS = {
    "KAPPA": [(901, 3000), (512, 1500), (501, 800), (1103, 5)],
    "KAPPA_KING": [(901, 9000), (1103, 500), (504, 3000), (503, 2000), (4001, 1)],
    "KAPPA_KING_": [(901, 5000), (512, 3000)],
    "KAPPA_CHILD": [(512, 4000), (501, 1000)],
    "TENGU": [(902, 4000), (1102, 20), (510, 500)],
    "TENGU_CROW": [(902, 6000), (510, 800), (4002, 1)],
    "TENGU_LORD": [(902, 10000), (1102, 1500), (509, 5000), (504, 5000), (2302, 200)],
    "KITSUNE": [(903, 5000), (511, 200), (2201, 10)],
    "KITSUNE_SILVER": [(903, 7000), (511, 600), (2201, 30)],
    "OMOTE_KITSUNE": [(903, 4000), (908, 1200), (2201, 50), (2202, 5)],
    "NOUMEN": [(904, 3500), (2202, 15), (505, 300)],
    "ONI": [(905, 2500), (1104, 8), (502, 900)],
    "ONI_BLUE": [(905, 3000), (1104, 12), (502, 1000)],
    "KASA": [(2101, 40), (501, 600)],
    "TANUKI": [(906, 6000), (506, 700), (501, 500)],
    "TANUKI_BIG": [(906, 8000), (506, 1500), (2301, 80)],
    "YUKI": [(907, 5000), (507, 900)],
    "YUKI_QUEEN": [(907, 10000), (505, 4000), (2501, 800)],
    "NEKOMATA": [(909, 3000), (508, 500)],
    "NEKOMATA_": [(909, 3500), (508, 600)],
    "KODAMA": [(910, 4500)],
    "KODAMA_ELDER": [(910, 9000), (2501, 30), (503, 400)],
    "GAMA": [(912, 100), (511, 200)],
    "SHOJO": [(507, 1500), (504, 100), (2401, 60)],
    "FUDAGUI": [(509, 700), (510, 900), (908, 500)],
    "DORO": [(911, 7000), (2401, 20)],
    "AMEFURI": [(512, 800), (2501, 10)],
    "MUJINA": [(906, 1000), (2301, 15), (508, 300)],
    "KAMAITACHI": [(1101, 60), (903, 1500), (502, 300), (501, 800),
                   (506, 200), (507, 200), (508, 200), (2401, 10)],
}

# MvpItem1, MvpItem2, MvpExp, MvpExpRate, then three special item/rate pairs.
MVPS = {
    "KAPPA_KING": (0, 0, 45000, 0, 1103, 3000, 504, 5000, 0, 0),
    "TENGU_LORD": (0, 0, 120000, 0, 1102, 2500, 2302, 1000, 509, 5500),
    "KITSUNE_NINE": (0, 0, 180000, 0, 2202, 2000, 511, 6000, 4002, 100),
    "YUKI_QUEEN": (0, 0, 98000, 0, 505, 5000, 2501, 1500, 0, 0),
}

# Monster key -> forms it can turn into (MorphCount is their number).
MORPHS = {
    "KAPPA_CHILD": ["KAPPA"],
    "TANUKI": ["TANUKI_BIG", "KITSUNE"],
    "KODAMA": ["KODAMA_ELDER"],
    "OMOTE_KITSUNE": ["KITSUNE", "KITSUNE_SILVER", "NOUMEN"],
}

# Emotion records in file order. KAPPA appears twice on purpose; "Nekomata"
# names NEKOMATA with different letter case.
EMOTES = [
    ("KAPPA", "IDLE_ST", 2),
    ("KAPPA", "ANGRY_ST", 6),
    ("KAPPA_KING", "BERSERK_ST", 19),
    ("TENGU", "RUSH_ST", 1),
    ("KITSUNE", "MOVEITEM_ST", 18),
    ("KITSUNE_NINE", "DEAD_ST", 47),
    ("TANUKI", "RMOVE_ST", 30),
    ("TANUKI_BIG", "FOLLOW_ST", 5),
    ("NOUMEN", "SEARCH_ST", 9),
    ("ZASHIKI", "IDLE_ST", 29),
    ("Nekomata", "IDLE_ST", 3),
    ("YUKI", "DEAD_ST", 28),
    ("GAMA", "ANGRY_ST", 0),
    ("SHOJO", "IDLE_ST", 33),
]

# Monster key -> (summoned monsters, count).
SUMMONS = {
    "TENGU_LORD": (["TENGU", "TENGU_CROW"], 4),
    "KITSUNE_NINE": (["KITSUNE", "KITSUNE_SILVER", "OMOTE_KITSUNE", "MAYOIBI", "NOBIKUBI"], 5),
    "OKIBOZU": (["AMEFURI", "GAMA"], 3),
}

SLAVES = {
    "KAPPA_KING": (["KAPPA", "KAPPA_KING_", "KAPPA_CHILD"], 5),
    "YUKI_QUEEN": (["YUKI"], 6),
    "ONI": (["ONI_BLUE"], 1),
    "TANUKI_BIG": (["TANUKI"], 3),
    "BAKU": (["MAYOIBI", "ZASHIKI"], 2),
}


def status_record(monster_id, monster):
    name, display, level, size, race, element, mode = monster
    # Stats follow the level with small per-monster offsets so that no two
    # rows look the same and sorting by any column gives a real order.
    salt = sum(map(ord, name)) % 17
    hp = level * level * 9 + 40 + salt * 7
    sp = level // 3 + 1
    exp = level * level * 2 + salt
    job = exp * 3 // 4
    rng = 1 if salt % 4 else 9
    atk_min = level * 4 + salt
    atk_max = atk_min + level * 2 + 3
    defense = level // 3 + salt % 5
    mdef = level // 4 + salt % 7
    stats = [
        level // 2 + salt % 6,  # Str
        level // 2 + (salt * 3) % 7,  # Agi
        level // 3 + salt % 4,  # Vit
        level // 3 + (salt * 5) % 9,  # Int
        level // 2 + salt % 8,  # Dex
        level // 4 + (salt * 7) % 5,  # Luk
    ]
    move_speed = 150 + (salt % 6) * 50
    attack_delay = 1000 + salt * 61
    attack_motion = 500 + salt * 23
    damage_motion = 300 + salt * 19
    return [monster_id, name, f'"{display}"', level, hp, sp, exp, job, rng,
            atk_min, atk_max, defense, mdef, *stats, 10, 12, size, race,
            element, mode, move_speed, attack_delay, attack_motion,
            damage_motion]


def padded(names, width):
    return names + [""] * (width - len(names))


def quoted(script):
    return f'"{script}"'


def build_files():
    files = {}
    keys = {m[0] for m in MONSTERS}

    status = [[0, "DUMMY", '"DUMMY"', 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0,
               0, 0, 10, 12, 0, 0, 20, 0, 200, 1000, 500, 500]]
    for index, monster in enumerate(MONSTERS):
        status.append(status_record(1001 + index, monster))
    files["mob_stat_db.txt"] = status

    drop_rows = []
    for monster in MONSTERS:
        pairs = DROPS.get(monster[0])
        if pairs is None:
            continue
        assert len(pairs) <= 8
        row = [monster[0]]
        for item, rate in pairs + [(0, 0)] * (8 - len(pairs)):
            row += [item, rate]
        drop_rows.append(row)
    files["mob_drop_db.txt"] = drop_rows

    files["mob_mvp_db.txt"] = [[k, *v] for k, v in MVPS.items()]
    files["mob_morph_db.txt"] = [[k, *padded(v, 5), len(v)] for k, v in MORPHS.items()]
    files["mob_emote_db.txt"] = [list(e) for e in EMOTES]
    files["summon_monster.txt"] = [[k, *padded(v, 5), n] for k, (v, n) in SUMMONS.items()]
    files["summon_slave.txt"] = [[k, *padded(v, 5), n] for k, (v, n) in SLAVES.items()]

    # Every name a dependent table points at must be a monster (apart from the
    # deliberate letter-case mismatch), or the sample would test nothing.
    for fname in ("mob_drop_db.txt", "mob_mvp_db.txt", "mob_morph_db.txt",
                  "summon_monster.txt", "summon_slave.txt"):
        for row in files[fname]:
            assert row[0] in keys, (fname, row[0])
    for fname in ("mob_morph_db.txt", "summon_monster.txt", "summon_slave.txt"):
        for row in files[fname]:
            for target in row[1:6]:
                assert target == "" or target in keys, (fname, target)

    files["item_consume_db.txt"] = [
        [i, key, name, typ, buy, buy // 2, weight, "0xFFFFFFFF", 63, 2, 0, quoted(script)]
        for i, key, name, typ, buy, weight, script in CONSUME_ITEMS]
    files["item_drop_db.txt"] = [
        [i, key, name, typ, buy, buy // 2, weight]
        for i, key, name, typ, buy, weight in DROP_ITEMS]
    files["item_equip_db.txt"] = [
        [i, key, name, typ, buy, buy // 2, weight, atk, 0, defense, 1 if typ == 5 else 0,
         slots, "0xFFFFFFFF", 63, 2, loc, 1 if typ == 5 else 0, 1 + (i % 40),
         1 if typ != 6 else 0, 0, quoted(script)]
        for i, key, name, typ, buy, weight, atk, defense, slots, loc, script in EQUIP_ITEMS]
    return files


WIDTHS = {
    "mob_stat_db.txt": 29, "mob_drop_db.txt": 17, "mob_mvp_db.txt": 11,
    "mob_morph_db.txt": 7, "mob_emote_db.txt": 3, "summon_monster.txt": 7,
    "summon_slave.txt": 7, "item_consume_db.txt": 12, "item_drop_db.txt": 7,
    "item_equip_db.txt": 21,
}


def check_field(fname, row, index, text):
    # The editor's line format cannot hold these; a bad table entry should stop
    # the script instead of producing a file the editor refuses.
    quoted_ok = (fname == "mob_stat_db.txt" and index == 2) or (
        fname.startswith("item_") and index == WIDTHS[fname] - 1)
    body = text[1:-1] if quoted_ok and text.startswith('"') else text
    bad = ['"', "\r", "\n"] + ([] if quoted_ok else [","])
    for ch in bad:
        assert ch not in body, (fname, row, index, text)


def write_files(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for fname, rows in build_files().items():
        lines = []
        for row in rows:
            assert len(row) == WIDTHS[fname], (fname, row)
            texts = [str(v) for v in row]
            for index, text in enumerate(texts):
                check_field(fname, row, index, text)
            lines.append(",".join(texts) + "\r\n")
        with open(os.path.join(out_dir, fname), "wb") as f:
            f.write("".join(lines).encode("cp932"))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, os.pardir, "sample")
    write_files(os.path.normpath(out_dir))


if __name__ == "__main__":
    main()
