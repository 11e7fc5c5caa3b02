#!/bin/sh
# Started by tavexport through /bin/sh in its working folder.
echo "See README.md of the tavexport sources." >&2
