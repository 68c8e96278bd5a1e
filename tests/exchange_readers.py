"""Reads quillbee-due's exports with readers that owe nothing to Quillbee:
Debian's python3-icalendar and python3-vobject for the calendar, Python's csv
module for the spreadsheet file. Arguments: OUT.ics OUT.csv. Prints each
failure and exits 1 when there is any."""
import csv
import datetime
import sys

import icalendar
import vobject

failures = []


def check(what, expected, actual):
    if expected != actual:
        failures.append(f"{what}:\n  expected {expected!r}\n  actual   {actual!r}")


ics_path, csv_path = sys.argv[1], sys.argv[2]
data = open(ics_path, "rb").read()
for number, line in enumerate(data.split(b"\r\n"), 1):
    if len(line) > 75:
        failures.append(f"line {number} is {len(line)} bytes long")

LONG = "Wigilia: zażółć gęślą jaźń, " + "ą" * 40
# summary, start, RRULE, days of warning before, description
expected = [
    ("George's birthday! ([years since 1968] years old)", datetime.date(2010, 3, 15), {"FREQ": ["YEARLY"]}, 10, None),
    ('Leap day, "quoted"; semi', datetime.date(2010, 3, 1), {"FREQ": ["YEARLY"], "BYYEARDAY": [60]}, 5, None),
    ("Dentist", datetime.date(2011, 5, 7), None, 10, "Bring card\nRoom 4, floor 2; \\ end"),
    (LONG, datetime.date(2010, 12, 24), {"FREQ": ["YEARLY"]}, 3, None),
]

calendar = icalendar.Calendar.from_ical(data)
events = calendar.walk("VEVENT")
check("icalendar: number of events", len(expected), len(events))
check("icalendar: UIDs differ", len(events), len({str(e["UID"]) for e in events}))
for event, (summary, start, rule, before, description) in zip(events, expected):
    check("icalendar: SUMMARY", summary, str(event["SUMMARY"]))
    check(f"icalendar: DTSTART of {summary}", start, event["DTSTART"].dt)
    check(f"icalendar: DTEND of {summary}", start + datetime.timedelta(days=1), event["DTEND"].dt)
    check(f"icalendar: RRULE of {summary}", rule, dict(event["RRULE"]) if "RRULE" in event else None)
    alarms = event.walk("VALARM")
    check(f"icalendar: alarms of {summary}", [datetime.timedelta(days=-before)], [a["TRIGGER"].dt for a in alarms])
    check(f"icalendar: DESCRIPTION of {summary}", description,
          str(event["DESCRIPTION"]) if "DESCRIPTION" in event else None)
    check(f"icalendar: DTSTAMP of {summary}", True, "DTSTAMP" in event)

# Where a calendar shows each event in 2025 to 2029: the leap day on
# 1 March outside leap years, as Quillbee shows it.
shown = {
    "George": ["2025-03-15", "2026-03-15", "2027-03-15", "2028-03-15", "2029-03-15"],
    "Leap": ["2025-03-01", "2026-03-01", "2027-03-01", "2028-02-29", "2029-03-01"],
    "Wigilia": ["2025-12-24", "2026-12-24", "2027-12-24", "2028-12-24", "2029-12-24"],
}
parsed = vobject.readOne(data.decode("utf-8"))
for event in parsed.vevent_list:
    name = event.summary.value.split(" ")[0].rstrip("'s:")
    rules = event.getrruleset()
    if rules is None:
        check(f"vobject: {name} does not repeat", "Dentist", name)
        continue
    days = [d.date().isoformat() for d in rules.between(datetime.datetime(2025, 1, 1), datetime.datetime(2030, 1, 1))]
    check(f"vobject: the days of {name}", shown.get(name), days)

with open(csv_path, newline="", encoding="utf-8") as file:
    rows = list(csv.reader(file))
check("csv: rows", [
    ["date", "message", "notes", "yearly", "days before", "days after"],
    ["2010-03-15", "George's birthday! ($Age{1968} years old)", "", "yes", "0", "0"],
    ["2010-02-29", 'Leap day, "quoted"; semi', "", "yes", "5", "2"],
    ["2011-05-07", "Dentist", "Bring card\r\nRoom 4, floor 2; \\ end", "no", "0", "0"],
    ["2010-12-24", LONG, "", "yes", "3", "1"],
], rows)

for failure in failures:
    print("FAILED: " + failure)
sys.exit(1 if failures else 0)
