#!/bin/sh
# Started by tavexport through /bin/sh in its working folder.
echo "$(date) transfer" >> batch.log
