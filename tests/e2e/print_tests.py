TESTS = []
