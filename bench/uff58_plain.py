#!/usr/bin/env python3
"""The yardstick of bench/uff58_read.cpp: a straightforward reader of a dataset-58 universal file
(lines, split, float). Prints the number of datasets and values it read, and the seconds the
reading took inside this process (the interpreter's start is not the reader's work)."""
import sys
import time


def read(path):
    datasets = 0
    values = 0
    with open(path) as f:
        lines = f.read().split("\n")
    i = 0
    n = len(lines)
    while i < n:
        if lines[i].strip() != "-1":
            i += 1
            continue
        if i + 1 < n and lines[i + 1].strip() == "58":
            i += 2
            header = lines[i:i + 11]
            i += 11
            data = []
            while i < n and lines[i].strip() != "-1":
                data.extend(float(x) for x in lines[i].split())
                i += 1
            datasets += 1
            values += len(data)
            del header
        i += 1
    return datasets, values


if __name__ == "__main__":
    start = time.perf_counter()
    datasets, values = read(sys.argv[1])
    print(datasets, values, time.perf_counter() - start)
