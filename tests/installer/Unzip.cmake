# Unpacks the portable zip into a folder of its own, afresh: cmake -P with
# -DZIP=<zip> -DDEST=<folder>.
file(REMOVE_RECURSE ${DEST})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${DEST})
