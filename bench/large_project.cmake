# The experiment project tree with its persistent classes (linked whole so that they read back by name).
orvex_link_whole(bench_${_n} orvex_experiments orvex_spectral)
