#!/usr/bin/env python3
"""Turns the manual page's readable source (a small subset of Markdown) into roff.

    md2man.py SOURCE.md OUT.6 VERSION

The source's subset:
  # NAME(SECTION) -- one-line description      the title, first line
  ## HEADING                                     a section
  a line followed by ": text"                   a tagged paragraph: the term, then its text
  - text                                         a bulleted paragraph
      indented by four spaces                    an example, as written
  a blank line                                   ends a paragraph
Inline: `code` is bold, *word* is italic.
"""
import datetime
import os
import re
import sys


def escape(text):
    text = text.replace('\\', '\\e').replace('-', '\\-')
    return re.sub(r"^([.'])", r'\\&\1', text)


def inline(text):
    text = escape(text)
    text = re.sub(r'`([^`]+)`', r'\\fB\1\\fR', text)
    return re.sub(r'\*([^*]+)\*', r'\\fI\1\\fR', text)


def convert(lines, version, date):
    title = re.match(r'^# (\S+)\((\d)\) -- (.+)$', lines[0])
    if not title:
        raise SystemExit('md2man: the first line must be "# NAME(SECTION) -- description"')
    name, section, description = title.groups()
    out = [f'.TH {name.upper()} {section} "{date}" "{name} {version}" "Games and demos"',
           '.SH NAME', f'{escape(name)} \\- {escape(description)}']
    example = False
    body = lines[1:]
    for index, line in enumerate(body):
        tagged = index + 1 < len(body) and body[index + 1].startswith(': ')
        if line.startswith('    ') and line.strip():
            if not example:
                out += ['.PP', '.RS 4', '.nf']
                example = True
            out.append(escape(line[4:]))
            continue
        if example:
            out += ['.fi', '.RE']
            example = False
        if not line.strip():
            out.append('.PP')
        elif line.startswith('## '):
            out.append('.SH ' + escape(line[3:].upper()))
        elif line.startswith(': '):
            out.append(inline(line[2:]))
        elif line.startswith('- '):
            out += ['.IP \\(bu 2', inline(line[2:])]
        elif tagged:
            out += ['.TP', inline(line)]
        else:
            out.append(inline(line))
    if example:
        out += ['.fi', '.RE']
    # Paragraph marks in a row, or before a section or tagged paragraph, say nothing.
    tidy = []
    for item in out:
        if item == '.PP' and tidy and tidy[-1] in ('.PP', '.TP') or (item == '.PP' and tidy and tidy[-1].startswith('.SH')):
            continue
        if item.startswith(('.SH', '.TP', '.IP')) and tidy and tidy[-1] == '.PP':
            tidy.pop()
        tidy.append(item)
    return '\n'.join(tidy) + '\n'


def main():
    if len(sys.argv) != 4:
        raise SystemExit('usage: md2man.py SOURCE.md OUT VERSION')
    source, target, version = sys.argv[1:]
    # Reproducible: the date of the source's last change when the build says it.
    stamp = int(os.environ.get('SOURCE_DATE_EPOCH', os.path.getmtime(source)))
    date = datetime.datetime.fromtimestamp(stamp, datetime.timezone.utc).strftime('%Y-%m-%d')
    with open(source, encoding='utf-8') as f:
        lines = f.read().splitlines()
    with open(target, 'w', encoding='utf-8') as f:
        f.write(convert(lines, version, date))


if __name__ == '__main__':
    main()
