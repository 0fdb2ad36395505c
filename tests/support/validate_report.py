#!/usr/bin/env python3
"""Validates JSON reports against the report's schema.

    validate_report.py SCHEMA REPORT...

Exits 0 when every report follows the schema, 1 naming the first that does
not, and 77 when this Python has no jsonschema to validate with.
"""
import json
import sys

try:
    import jsonschema
except ImportError:
    sys.exit(77)


def main(schema_path, report_paths):
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    for path in report_paths:
        with open(path, encoding="utf-8") as f:
            report = json.load(f)
        errors = sorted(validator.iter_errors(report), key=lambda e: list(e.path))
        if errors:
            where = "/".join(str(part) for part in errors[0].path)
            print("%s: %s: %s" % (path, where, errors[0].message))
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
