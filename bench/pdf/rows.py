"""The rows of the list benchmark, shared by its data file and the reference
program: the same names, groups, dates and hours in the same order."""

SURNAMES = ["Иванов", "Петрова", "Сидоров", "Кузнецова", "Смирнов", "Попова", "Васильев", "Новикова"]
NAMES = ["Иван", "Мария", "Пётр", "Анна", "Сергей", "Елена", "Алексей", "Ольга"]


def rows(count):
    for i in range(count):
        name = f"{SURNAMES[i % 8]} {NAMES[(i // 8) % 8]} {i + 1:05d}"
        group = f"Гр-{i % 40 + 1:02d}"
        date = f"{i % 28 + 1:02d}.{i % 12 + 1:02d}.2026"
        hours = str(100 + i % 90)
        yield name, group, date, hours
