// The Linux kernel queries.
