"""Reference for the list benchmark: the same list (title, column captions,
54 rows a page, "Страница N из M") drawn with ReportLab's canvas in DejaVu
Sans 9 pt on A4, compressed, one string per text output.

Usage: reference.py ROWS OUT.pdf"""

import sys

from reportlab.lib.pagesizes import A4
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

from rows import rows

PX = 0.75  # points per pixel at 96 dpi
MARGIN = 10 / 25.4 * 72
PER_PAGE = 54
COLUMNS = [0, 64, 370, 496, 622]
CAPTIONS = ["№", "Фамилия, имя", "Группа", "Дата", "Часы"]


def main():
    count, out = int(sys.argv[1]), sys.argv[2]
    pdfmetrics.registerFont(TTFont("DejaVuSans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"))
    pdf = canvas.Canvas(out, pagesize=A4, pageCompression=1)
    width, height = A4
    pages = (count + PER_PAGE - 1) // PER_PAGE
    ascent = 11  # the memo's inner gap plus the font's ascent, pixels

    def text(x_px, y_px, s):
        pdf.drawString(MARGIN + (x_px + 2) * PX, height - MARGIN - (y_px + ascent) * PX, s)

    page = 0
    for i, row in enumerate(rows(count)):
        if i % PER_PAGE == 0:
            if page:
                text(0, 1006, f"Страница {page} из {pages}")
                pdf.showPage()
            page += 1
            pdf.setFont("DejaVuSans", 9)
            text(0, 2, "Список учащихся автошколы")
            for x, caption in zip(COLUMNS, CAPTIONS):
                text(x, 24, caption)
        y = 44 + (i % PER_PAGE) * 18
        for x, value in zip(COLUMNS, (str(i + 1),) + row):
            text(x, y, value)
    text(0, 1006, f"Страница {page} из {pages}")
    pdf.showPage()
    pdf.save()


if __name__ == "__main__":
    main()
