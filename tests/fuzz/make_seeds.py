#!/usr/bin/env python3
"""Writes the large seed files of the event file fuzz target into tests/fuzz/seeds.

Each stays under the fuzz run's 64 KB and mixes what the reader must cope with:
both encodings, many categories in all letter cases, many repeated dates, dates
with either decimal separator, and the damage that files suffer (a value that is
no UTF-8, zero bytes, a lost end tag, text between events). Fixed random seeds
make the same files every time."""
import os
import random

SEEDS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")
LIMIT = 64 * 1024
WORDS = ["Dentist", "Büro", "Café", "naïve", "Grüße", "€ 5", "R&D", "ſtraße", "Ω", "日本", "x", "<tag>", "a\r\nb"]


def julian(rng, point="."):
    value = f"{rng.randint(2400000, 2500000)}.{rng.randint(0, 99999999):08d}".rstrip("0").rstrip(".")
    return value.replace(".", point)


def text(rng, escaped):
    words = " ".join(rng.choice(WORDS) for _ in range(rng.randint(0, 4)))
    if escaped:
        words = words.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    else:
        words = words.replace("<", "").replace(">", "")
    return words


def event(rng, escaped, dates, point="."):
    run = "".join(f"<DATE>{julian(rng, point)}</DATE>" for _ in range(dates))
    fields = [
        ("Enabled", rng.choice(["-1", "0", "True", "false"])),
        ("StartDate", julian(rng, point)),
        ("UseTime", rng.choice(["-1", "0"])),
        ("Duration", str(rng.randint(0, 600))),
        ("RepeatedDates", run),
        ("Category", text(rng, escaped)),
        ("Description", text(rng, escaped)),
        ("Notes", text(rng, escaped)),
        ("AlarmType", str(rng.randint(0, 3))),
        ("AlarmParam", str(rng.randint(-100, 100))),
        ("AlarmSound", rng.choice(["", "chime", "bell"])),
        ("AudioNotify", rng.choice(["-1", "0"])),
        ("PopUpNotify", rng.choice(["-1", "0"])),
        ("Importance", rng.choice(["eiLow", "eiNormal", "eiHigh", "eiHighest", "EIHIGH"])),
        ("KeepRemindingFor", str(rng.randint(-1, 60))),
        ("AfterReminderJob", rng.choice(["arDoNothing", "arSnoozeMins", "arDismiss"])),
        ("AfterReminderJobParamInt", str(rng.randint(0, 30))),
        ("ExecuteFile", rng.choice(["-1", "0"])),
        ("CmdsToExecute", text(rng, escaped)),
        ("ExecuteFileXTimes", str(rng.randint(0, 5))),
        ("ShowOnCalendar", rng.choice(["-1", "0"])),
    ]
    rng.shuffle(fields) if rng.random() < 0.1 else None
    return "<Event>\r\n" + "".join(f"\t<{tag}>{value}</{tag}>\r\n" for tag, value in fields) + "</Event>"


def file(categories, events, escaped=True):
    head = "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n"
    if escaped:
        head += "<Escaped>-1</Escaped>\r\n"
    head += "<LastSave>2026-12-07 06:00:00.000</LastSave>\r\n<Categories>"
    body = "".join(name + "\r\n" for name in categories) + "</Categories>\r\n<Events>\r\n"
    return head + body + "".join(e + "\r\n" for e in events) + "</Events>\r\n</QuilletEventFile>\r\n"


def fill(make, count):
    """The largest count of parts for which make(count) stays under the limit."""
    while len(make(count)) > LIMIT:
        assert count > 0, "the fixed parts alone are too large"
        count = count * 9 // 10
    return make(count)


def write(name, data):
    assert len(data) <= LIMIT, name
    with open(os.path.join(SEEDS, name), "wb") as out:
        out.write(data)


def main():
    rng = random.Random(2026)
    # UTF-8 with a few values damaged: bytes that are no UTF-8, zero bytes, a lost end tag, stray text.
    events = [event(rng, True, rng.randint(0, 20)) for _ in range(40)]
    data = fill(lambda n: file([f"Cat {i} {rng.choice(WORDS)}" for i in range(n)], events).encode(), 400)
    data = data.replace(b"<Description>", b"<Description>caf\xe9 \x80 ", 1)
    data = data.replace(b"</Event>", b"", 1)
    middle = len(data) // 2
    data = data[:middle] + b"\0" * 300 + data[middle + 300 :]
    data = data.replace(b"</Event>\r\n<Event>", b"</Event>\r\nstray\r\n<Event>", 1)
    write("large_mixed.events", data[:LIMIT])

    # A file of the Windows program: Windows-1252 throughout, nothing escaped, dates with a comma.
    rng = random.Random(1252)
    windows = lambda n: file(
        ["Général", "Geburtstage", "Café"] + [f"Kategorie {i}" for i in range(n)],
        [event(rng, False, rng.randint(0, 20), ",") for _ in range(30)],
        escaped=False,
    )
    data = fill(lambda n: windows(n).encode("cp1252", errors="replace"), 300)
    write("large_windows1252.events", data)

    # Many category names, many of them equal but for their letter case.
    rng = random.Random(7)
    names = lambda n: [rng.choice([f"name{i}", f"NAME{i // 2}", f"Ärger{i % 50}", f"äRGER{i % 50}"]) for i in range(n)]
    data = fill(lambda n: file(names(n), [event(rng, True, 2)]).encode(), 8000)
    write("many_categories.events", data)

    # One event with a long run of repeated dates, some within the same minute, some no number.
    rng = random.Random(11)
    def dates(n):
        run = "".join(
            f"<DATE>{rng.choice([julian(rng), '2454542.5', 'abc', '2454542,5002'])}</DATE>" for _ in range(n)
        )
        return file(["General"], [event(rng, True, 0).replace("<RepeatedDates></RepeatedDates>", f"<RepeatedDates>{run}</RepeatedDates>")])
    write("many_dates.events", fill(lambda n: dates(n).encode(), 3000))


if __name__ == "__main__":
    main()
