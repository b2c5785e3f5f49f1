# Writes the one self-contained page: the template with the page's script and
# the program (its WebAssembly inside) put in place.
file(READ ${TEMPLATE} page)
file(READ ${PAGE_SCRIPT} page_script)
file(READ ${PROGRAM_SCRIPT} program_script)
# A "</script" inside a script would end it early.
string(REPLACE "</script" "<\\/script" program_script "${program_script}")
string(REPLACE "@VELMAR_PAGE_SCRIPT@" "${page_script}" page "${page}")
string(REPLACE "@VELMAR_PROGRAM_SCRIPT@" "${program_script}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
