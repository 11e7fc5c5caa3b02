#!/bin/sh
# Started by tavexport through /bin/sh in its working folder.
echo "$(date) exported" >> batch.log
