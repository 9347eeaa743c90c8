#!/usr/bin/env python3
"""The yardstick of bench/uff58_read.cpp: the reference reader of dataset 58 (perf/uff58_reference.py of
the shared folder beside the checkout) reading a file's index and every value, timed inside this process so the interpreter's
start does not count. The work timed is what the reader does for them: the file's bytes read, its
datasets split off, and each ASCII dataset 58 parsed (header fields and all values).
Prints the number of datasets and values read, and the seconds the reading took."""
import os
import sys
import time

# The reference stays where it is kept, beside the checkout, so the yardstick is never a stale copy.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "shared", "perf"))
import uff58_reference  # noqa: E402


def read(path):
    datasets = 0
    values = 0
    with open(path, 'rb') as f:
        raw = f.read()
    for kind, head, body in uff58_reference.datasets(raw):
        if kind != '58':
            continue
        parsed = uff58_reference.parse58(body)
        datasets += 1
        values += len(parsed[7])
    return datasets, values


if __name__ == '__main__':
    start = time.perf_counter()
    datasets, values = read(sys.argv[1])
    print(datasets, values, time.perf_counter() - start)
