// placeholder: replaced by the real source
