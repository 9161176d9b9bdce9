#!/usr/bin/env python3
"""The page's own schema checker agrees with python3-jsonschema: on the protocol's client samples,
on every kind of server message the message library builds, and on each of those broken in the
ways a faulty or hostile server might break them (a field missing, one too many, a wrong type).

    validator_check.py SCHEMA PROTOCOL_SAMPLES CLIENT_SAMPLES VALIDATOR_MODULE
"""

import copy
import json
import os
import subprocess
import sys

import jsonschema


def broken(message):
    """The message with each field dropped, retyped or made too long, and one field added."""
    yield {**message, "extra": 1}
    for key, value in message.items():
        yield {k: v for k, v in message.items() if k != key}
        for other in (None, 7, 3.5, "7", True, [], {}, "x" * 50, -1):
            if other != value:
                yield {**message, key: other}
        if isinstance(value, list) and value and isinstance(value[0], dict):
            for inner in value[0]:
                changed = copy.deepcopy(message)
                del changed[key][0][inner]
                yield changed


def main(schema_path, samples_program, client_samples, module):
    schema = json.load(open(schema_path, encoding="utf-8"))
    reference = jsonschema.Draft202012Validator(schema)
    lines = [line for line in open(client_samples, encoding="utf-8").read().splitlines() if line]
    out = subprocess.run([samples_program, client_samples], check=True, capture_output=True, text=True).stdout
    broken_shapes = set()
    for line in out.splitlines():
        verdict, text = line.split("\t", 1)
        if verdict != "server":
            continue
        lines.append(text)
        message = json.loads(text)
        # Broken once for each shape of message: the same fields again break the same way.
        shape = (message.get("type"), tuple(sorted(message)))
        if shape not in broken_shapes:
            broken_shapes.add(shape)
            lines.extend(json.dumps(b, ensure_ascii=False) for b in broken(message))
    here = os.path.dirname(os.path.abspath(__file__))
    verdicts = subprocess.run(["node", os.path.join(here, "validator_verdicts.mjs"), schema_path, module],
                              input="\n".join(lines) + "\n", check=True, capture_output=True, text=True).stdout.split()
    wrong = 0
    valid = 0
    for line, verdict in zip(lines, verdicts, strict=True):
        try:
            expected = reference.is_valid(json.loads(line))
        except json.JSONDecodeError:
            expected = False
        valid += expected
        if expected != (verdict == "1"):
            wrong += 1
            print(f"disagreement: {line}: jsonschema says {expected}, the page says {verdict == '1'}")
    print(f"{len(lines)} messages, {valid} valid; {wrong} disagreement(s)")
    return 1 if wrong or not valid or valid == len(lines) else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
