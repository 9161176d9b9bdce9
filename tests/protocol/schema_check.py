#!/usr/bin/env python3
"""The protocol's schema against the message library.

    schema_check.py SCHEMA PROTOCOL_SAMPLES CLIENT_SAMPLES

Runs the samples program on the client samples: every client sample must get the same verdict
from the library as from the schema's client messages, and every server message the library
builds must be valid under the schema's server messages. Names the first disagreements.
"""

import json
import subprocess
import sys

import jsonschema


def validator(schema, part):
    return jsonschema.Draft202012Validator({"$ref": f"#/$defs/{part}", "$defs": schema["$defs"]})


def main(schema_path, samples_program, client_samples):
    schema = json.load(open(schema_path, encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    client, server = validator(schema, "client"), validator(schema, "server")
    out = subprocess.run([samples_program, client_samples], check=True, capture_output=True, text=True).stdout
    wrong = []
    counts = {"accept": 0, "refuse": 0, "server": 0}
    for line in out.splitlines():
        verdict, text = line.split("\t", 1)
        counts[verdict] += 1
        try:
            message = json.loads(text)
        except json.JSONDecodeError:
            message = None
        if verdict == "server":
            valid = message is not None and server.is_valid(message)
            if not valid:
                wrong.append(f"the server message {text} breaks the schema")
            continue
        valid = message is not None and client.is_valid(message)
        if valid != (verdict == "accept"):
            wrong.append(f"{text}: the library says {verdict}, the schema says {'valid' if valid else 'invalid'}")
    for w in wrong:
        print(w)
    print(f"{counts['accept']} accepted and {counts['refuse']} refused client samples, "
          f"{counts['server']} server messages; {len(wrong)} disagreement(s)")
    return 1 if wrong or not counts["accept"] or not counts["refuse"] or not counts["server"] else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
