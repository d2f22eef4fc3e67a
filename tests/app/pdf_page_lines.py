"""Prints the content-stream lines of one page of a PDF, as decoded by
pikepdf (qpdf): the real reader the listing's PDF files are checked with.

usage: pdf_page_lines.py FILE PAGE [PASSWORD]   (PAGE from 1)
"""
import sys

import pikepdf


def main():
    path, page = sys.argv[1], int(sys.argv[2])
    password = sys.argv[3] if len(sys.argv) > 3 else ""
    with pikepdf.open(path, password=password) as pdf:
        contents = pdf.pages[page - 1].obj.Contents
        streams = [contents] if isinstance(contents, pikepdf.Stream) else list(contents)
        data = b"".join(s.read_bytes() for s in streams)
    for line in data.replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n"):
        if line.strip():
            sys.stdout.buffer.write(line.strip() + b"\n")


if __name__ == "__main__":
    main()
